#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/ParameterRow.h"
#include "monitor/MonitorFrames.h"
#include "monitor/MonitorValues.h"

namespace orva::cli {

// A parameter on two sides: the controller and a file, or two files.
struct Difference {
    ParameterRow left;
    ParameterRow right;
};

// Which of the three monitor frames have arrived since the stream started; what has not arrived
// yet is null in JSON and "-" in text, not a 0 the controller never sent.
struct FramesSeen {
    bool channels = false;
    bool outputs = false;
    bool sensors = false;

    void add(monitor_frames::FrameKind kind);
};

// What orva-cli writes to stdout: tab-separated lines for people and shell tools, or JSON: one
// object for a command's result, one object a line (JSON Lines) for the streams, ports and
// monitor.
namespace report {

std::string jsonString(const std::string& text);

// The firmware version first, then one line (or object) per parameter.
void parameters(std::ostream& out, const std::string& firmware,
                const std::vector<ParameterRow>& rows, bool json);
void differences(std::ostream& out, const std::vector<Difference>& rows, bool json);
void monitorFrame(std::ostream& out, const MonitorValues& values, const FramesSeen& seen,
                  bool json);
void port(std::ostream& out, int com, const std::string& device, const std::string& description,
          bool json);

}  // namespace report
}  // namespace orva::cli
