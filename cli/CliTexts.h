#pragma once

#include <initializer_list>
#include <string>

#include "model/Language.h"

namespace orva::cli {

// orva-cli's own messages; {0}, {1}, ... stand for the arguments.
enum class Msg {
    Reading,
    PortNotOpened,
    NoAnswer,
    NoWholeAnswer,
    StreamStopped,
    LineLost,
    NoDevice,
    NotRead,
    Saved,
    UnknownCode,
    ReadOnlyCode,
    NotANumber,
    OutOfRange,
    NotTaken,
    BadDefaultSet,
    FileUnreadable,
    ForeignLine,
    NoDifference,
    DryRun,
    RestoreProgress,
    Restored,
    DefaultLoaded,
    SetDone,
    MonitorStopped,
    UpgradeProgress,
    Upgraded,
    BackupSaved,
    BackupSkipped,
    NoBackupNotRead,
    NoBackupNothingWritten,
    SaveNotRead,
    Converted,
    SettingsKept,
    SettingsChanged,
    NoPorts,
    ImpossibleStoredPort,
    NoUsbDevice,
    ManyUsbDevices,
    OutputFailed,
    HalfWritten,
    Stopped,
    RestoreWhere,
    DefaultWhere,
    FlashWhere,
    PutBackupBack,
    FinishUpgrade,
    NoBackupKept,
};

std::string say(Msg msg, Language language, std::initializer_list<std::string> args = {});
// A text of the window's core with the window's remedies ("press Refresh") in the words of a
// command line.
std::string inCliWords(std::string text);

}  // namespace orva::cli
