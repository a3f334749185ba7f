#include "cli/Report.h"

#include <cstdio>
#include <ostream>

namespace orva::cli {

void FramesSeen::add(monitor_frames::FrameKind kind) {
    channels |= kind == monitor_frames::FrameKind::Channels;
    outputs |= kind == monitor_frames::FrameKind::Outputs;
    sensors |= kind == monitor_frames::FrameKind::Sensors;
}

namespace report {
namespace {

std::string number(const std::optional<int>& value, bool json) {
    return value ? std::to_string(*value) : (json ? "null" : "-");
}

// A list's item text after its index: a last column in text, "item" in JSON (null: none shown).
std::string item(const ParameterRow& row, bool json) {
    if (!row.list) {
        return "";
    }
    if (json) {
        return ",\"item\":" + (row.item ? jsonString(*row.item) : "null");
    }
    return '\t' + row.item.value_or("-");
}

std::string rowJson(const ParameterRow& row) {
    return "{\"code\":" + jsonString(std::string(1, row.code)) +
           ",\"english\":" + jsonString(row.english) + ",\"chinese\":" + jsonString(row.chinese) +
           ",\"shown\":" + number(row.shown, true) + ",\"wire\":" + number(row.wire, true) +
           item(row, true) + "}";
}

std::string rowText(const ParameterRow& row) {
    return std::string(1, row.code) + '\t' + row.english + '\t' + row.chinese;
}

// "55 [55]": the shown value, then the wire value.
std::string valueText(const ParameterRow& row) {
    return number(row.shown, false) + " [" + number(row.wire, false) + "]";
}

template <class T, class F>
std::string joined(const T& items, F each) {
    std::string out;
    for (const auto& item : items) {
        out += (out.empty() ? "" : ",") + each(item);
    }
    return out;
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void parameters(std::ostream& out, const std::string& firmware,
                const std::vector<ParameterRow>& rows, bool json) {
    if (json) {
        out << "{\"firmware\":" << jsonString(firmware) << ",\"parameters\":["
            << joined(rows, rowJson) << "]}\n";
        return;
    }
    out << "firmware\t" << firmware << '\n';
    for (const ParameterRow& row : rows) {
        out << rowText(row) << '\t' << number(row.shown, false) << '\t' << number(row.wire, false)
            << item(row, false) << '\n';
    }
}

void differences(std::ostream& out, const std::vector<Difference>& rows, bool json) {
    if (json) {
        out << "{\"differences\":[" << joined(rows, [](const Difference& d) {
            return "{\"left\":" + rowJson(d.left) + ",\"right\":" + rowJson(d.right) + "}";
        }) << "]}\n";
        return;
    }
    for (const Difference& d : rows) {
        out << rowText(d.left) << '\t' << valueText(d.left) << '\t' << valueText(d.right) << '\n';
    }
}

void monitorFrame(std::ostream& out, const MonitorValues& v, const FramesSeen& seen, bool json) {
    const char* none = json ? "null" : "-";
    auto list = [&](const auto& values, bool there, const char* separator) {
        std::string s;
        for (int n : values) {
            s += (s.empty() ? "" : separator) + std::to_string(n);
        }
        return !there ? std::string(none) : json ? "[" + s + "]" : s;
    };
    auto value = [&](int n) { return seen.sensors ? std::to_string(n) : std::string(none); };
    auto text = [&](const std::string& s) {
        return !seen.sensors ? std::string(none) : json ? jsonString(s) : s;
    };
    if (json) {
        out << "{\"receiver\":" << list(v.receiver, seen.channels, ",")
            << ",\"outputs\":" << list(v.outputs, seen.outputs, ",")
            << ",\"ultrasonicMm\":" << value(v.ultrasonicHeight)
            << ",\"barometricDm\":" << value(v.barometricHeight)
            << ",\"magneticDeg\":" << value(v.magneticAngle)
            << ",\"vibration\":" << value(v.vibration) << ",\"longitude\":" << text(v.longitude)
            << ",\"latitude\":" << text(v.latitude) << "}\n";
        return;
    }
    out << "rx " << list(v.receiver, seen.channels, " ") << "\tout "
        << list(v.outputs, seen.outputs, " ") << "\tsonar " << value(v.ultrasonicHeight)
        << " mm\tbaro " << value(v.barometricHeight) << " dm\tmag " << value(v.magneticAngle)
        << "\tvib " << value(v.vibration) << "\tgps " << text(v.longitude) << ' '
        << text(v.latitude) << '\n';
}

void port(std::ostream& out, int com, const std::string& device, const std::string& description,
          bool json) {
    if (json) {
        out << "{\"port\":\"COM" << com << "\",\"device\":" << jsonString(device)
            << ",\"description\":" << jsonString(description) << "}\n";
        return;
    }
    out << "COM" << com << '\t' << device << (description.empty() ? "" : "\t" + description)
        << '\n';
}

}  // namespace report
}  // namespace orva::cli
