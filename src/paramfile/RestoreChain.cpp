#include "paramfile/RestoreChain.h"

#include <array>
#include <span>
#include <string_view>

#include "model/ControlIds.h"
#include "platform/LeadingInteger.h"
#include "protocol/Frames.h"

namespace orva {
namespace {

// How a step's value comes from the entries.
enum class Source {
    Mapped,   // the entry holds a list index plus 1; the map gives the wire value
    Text,     // the entry's text goes out unchanged
    Plus,     // the entry's integer plus a fixed number
    Bits,     // entries holding 1 set bits 0, 1, ... of the value
    Sensors,  // the four always-on sensors, and entries for bits 4 to 7
    End,      // the last acknowledgement: read everything back
};

struct Step {
    char ack;  // code of the acknowledgement that triggers the link
    char next;
    Source source;
    int entry = 0;  // first entry used
    int arg = 0;    // Plus: the number added; Bits: how many bits
    std::span<const int> map{};
};

// Wire values of the multi-axis, ESC and servo lists, by entry value 1, 2, ...
constexpr int kMultiAxisMap[] = {1, 2, 3, 4, 5, 6, 7, 15, 8, 9, 10, 11, 12, 13, 14, 16};
constexpr int kEscMap[] = {1, 2, 3, 4, 7, 5, 6};
constexpr int kServoMap[] = {1, 3, 4, 7};

// Servo mid points and the declination are stored as shown; the wire wants them shifted.
constexpr int kMidPointShift = 100;
constexpr int kDeclinationShift = 180;
constexpr int kMatrixBits = 12;
constexpr int kReverseBits = 8;
// Battery, receiver, gyroscope and accelerometer: bits 0 to 3 of the sensor code, always on.
constexpr int kFixedSensors = 15;
constexpr int kFirstOptionalSensorBit = 4;
constexpr int kOptionalSensors = 4;

constexpr Step kChain[] = {
    {'C', 'A', Source::Mapped, 1, 0, kMultiAxisMap},
    {'A', 'B', Source::Mapped, 2, 0, kEscMap},
    {'B', 'P', Source::Mapped, 3, 0, kServoMap},
    {'P', 'D', Source::Text, 5},
    {'D', 'E', Source::Text, 6},
    {'E', 'F', Source::Text, 7},
    {'F', 'G', Source::Text, 8},
    {'G', 'Y', Source::Text, 9},
    {'Y', 'Z', Source::Text, 10},
    {'Z', 'R', Source::Text, 11},
    {'R', 'T', Source::Text, 12},
    {'T', '`', Source::Text, 13},
    {'`', '@', Source::Text, 14},
    {'@', '#', Source::Text, 15},
    {'#', '$', Source::Text, 16},
    {'$', '!', Source::Text, 17},
    {'!', 'J', Source::Text, 19},
    {'J', 'K', Source::Text, 18},
    {'K', '%', Source::Text, 20},
    {'%', ')', Source::Text, 22},
    {')', '_', Source::Text, 21},
    {'_', '+', Source::Text, 23},
    {'+', '^', Source::Plus, 25, kMidPointShift},
    {'^', '&', Source::Plus, 24, kMidPointShift},
    {'&', '(', Source::Plus, 26, kMidPointShift},
    {'(', 'L', Source::Text, 27},
    {'L', 'Q', Source::Plus, 191, kDeclinationShift},
    {'Q', 'a', Source::Bits, 56, kMatrixBits},
    {'a', 'b', Source::Bits, 68, kMatrixBits},
    {'b', 'c', Source::Bits, 80, kMatrixBits},
    {'c', 'd', Source::Bits, 92, kMatrixBits},
    {'d', 'e', Source::Bits, 104, kMatrixBits},
    {'e', 'f', Source::Bits, 116, kMatrixBits},
    {'f', '=', Source::Bits, 128, kMatrixBits},
    {'=', 'g', Source::Bits, 140, kMatrixBits},
    {'g', 'h', Source::Bits, 152, kMatrixBits},
    {'h', 'i', Source::Bits, 164, kMatrixBits},
    {'i', 'M', Source::Sensors, 36},
    {'M', 'N', Source::Bits, 40, kReverseBits},
    {'N', 'O', Source::Bits, 48, kReverseBits},
    {'O', 0, Source::End},
};

// Each link's command is acknowledged by the next link's trigger, so skipping a link that has
// no value is moving one row on.
constexpr bool chainIsContiguous() {
    for (std::size_t i = 0; i + 1 < std::size(kChain); ++i) {
        if (kChain[i].next != kChain[i + 1].ack) {
            return false;
        }
    }
    return true;
}
static_assert(chainIsContiguous());

// The main stability value opens the chain, sent by the restore itself.
constexpr char kFirstCode = 'C';
constexpr int kFirstEntry = 4;
// The multi-axis entry holding GIMBAL or BI rules out the custom frame editor.
constexpr int kMultiAxisEntry = 1;
constexpr int kGimbalFrame = 1;
constexpr int kBiFrame = 2;

std::string textFrame(char code, const std::string& text) {
    std::string frame{'S', code};
    frame += text;
    frame.push_back(frames::kCr);
    return frame;
}

}  // namespace

RestoreChain::RestoreChain(Link& link, WindowModel& model, const RestoreEntries& entries)
    : m_link(link), m_model(model), m_entries(entries) {
    m_link.on<Acknowledgement>(
        ProtocolMode::Restore, Exchange::Restore, *this,
        [this](const Acknowledgement& ack) { onAcknowledgement(ack.prefix); });
}

void RestoreChain::sendFirst() {
    m_link.sendBytes(textFrame(kFirstCode, m_entries.text(kFirstEntry)));
}

std::vector<std::string> RestoreChain::commands(const RestoreEntries& entries) {
    std::vector<std::string> out{textFrame(kFirstCode, entries.text(kFirstEntry))};
    for (std::size_t row = 0; row < std::size(kChain); ++row) {
        if (auto frame = command(entries, row)) {
            out.push_back(std::move(*frame));
        }
    }
    return out;
}

std::vector<std::pair<char, int>> RestoreChain::values(const RestoreEntries& entries) {
    std::vector<std::pair<char, int>> out;
    // "S", code, the value, CR.
    for (const std::string& command : commands(entries)) {
        out.emplace_back(command[1], leadingInteger(command.substr(2, command.size() - 3)));
    }
    return out;
}

// The link has paused for the controller after the acknowledgement.
void RestoreChain::onAcknowledgement(std::string_view prefix) {
    if (prefix.size() < 2 || prefix[0] != 'S') {
        return;
    }
    for (std::size_t row = 0; row < std::size(kChain); ++row) {
        if (kChain[row].ack == prefix[1]) {
            advance(row);
            return;
        }
    }
}

void RestoreChain::advance(std::size_t row) {
    m_link.enter(ProtocolMode::Restore);
    // The first acknowledgement follows the command the restore sent itself; every later one
    // may have company still waiting in the port.
    if (kChain[row].ack != kFirstCode) {
        m_link.discardInput();
    } else {
        const int frameType = m_entries.integer(kMultiAxisEntry);
        if (frameType == kGimbalFrame || frameType == kBiFrame) {
            m_model.setEnabled(ids::main::kEditFrame, false);
        }
    }
    // A list entry edited into a value no list item has: that link is left out and the chain
    // goes on with the next, so the controller keeps its own setting there.
    for (; row < std::size(kChain); ++row) {
        if (kChain[row].source == Source::End) {
            finish();
            return;
        }
        if (auto frame = command(m_entries, row)) {
            m_link.sendBytes(*frame);
            return;
        }
    }
}

std::optional<std::string> RestoreChain::command(const RestoreEntries& entries, std::size_t row) {
    const Step& step = kChain[row];
    switch (step.source) {
        case Source::Mapped: {
            const int value = entries.integer(step.entry);
            if (value < 1 || value > static_cast<int>(step.map.size())) {
                return std::nullopt;
            }
            return frames::set(step.next, step.map[value - 1]);
        }
        case Source::Text:
            return textFrame(step.next, entries.text(step.entry));
        case Source::Plus:
            return frames::set(step.next, entries.integer(step.entry) + step.arg);
        case Source::Bits: {
            int value = 0;
            for (int b = 0; b < step.arg; ++b) {
                value += entries.integer(step.entry + b) * (1 << b);
            }
            return frames::set(step.next, value);
        }
        case Source::Sensors: {
            int value = kFixedSensors;
            for (int b = 0; b < kOptionalSensors; ++b) {
                value += entries.integer(step.entry + b) * (1 << (kFirstOptionalSensorBit + b));
            }
            return frames::set(step.next, value);
        }
        case Source::End:
            break;
    }
    return std::nullopt;
}

void RestoreChain::finish() {
    m_model.setValue(ids::main::kRestoreChoice, kFileChoice);
    m_link.enter(ProtocolMode::Idle);
    m_link.sendQuery('V');
}

}  // namespace orva
