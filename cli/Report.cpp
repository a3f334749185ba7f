#include "cli/Report.h"

#include <cstdio>
#include <ostream>

namespace orva::cli::report {
namespace {

std::string number(const std::optional<int>& value, bool json) {
    return value ? std::to_string(*value) : (json ? "null" : "-");
}

std::string rowJson(const ParameterRow& row) {
    return "{\"code\":" + jsonString(std::string(1, row.code)) +
           ",\"english\":" + jsonString(row.english) + ",\"chinese\":" + jsonString(row.chinese) +
           ",\"shown\":" + number(row.shown, true) + ",\"wire\":" + number(row.wire, true) + "}";
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
            << '\n';
    }
}

void differences(std::ostream& out, const std::vector<Difference>& rows, bool json) {
    if (json) {
        out << "[" << joined(rows, [](const Difference& d) {
            return "{\"left\":" + rowJson(d.left) + ",\"right\":" + rowJson(d.right) + "}";
        }) << "]\n";
        return;
    }
    for (const Difference& d : rows) {
        out << rowText(d.left) << '\t' << valueText(d.left) << '\t' << valueText(d.right) << '\n';
    }
}

void monitorFrame(std::ostream& out, const MonitorValues& v, bool json) {
    auto ints = [](int n) { return std::to_string(n); };
    if (json) {
        out << "{\"receiver\":[" << joined(v.receiver, ints) << "],\"outputs\":["
            << joined(v.outputs, ints) << "],\"ultrasonicMm\":" << v.ultrasonicHeight
            << ",\"barometricDm\":" << v.barometricHeight << ",\"magneticDeg\":" << v.magneticAngle
            << ",\"vibration\":" << v.vibration << ",\"longitude\":" << jsonString(v.longitude)
            << ",\"latitude\":" << jsonString(v.latitude) << "}\n";
        return;
    }
    auto spaced = [](const auto& values) {
        std::string s;
        for (int n : values) {
            s += (s.empty() ? "" : " ") + std::to_string(n);
        }
        return s;
    };
    out << "rx " << spaced(v.receiver) << "\tout " << spaced(v.outputs) << "\tsonar "
        << v.ultrasonicHeight << " mm\tbaro " << v.barometricHeight << " dm\tmag "
        << v.magneticAngle << "\tvib " << v.vibration << "\tgps " << v.longitude << ' '
        << v.latitude << '\n';
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

}  // namespace orva::cli::report
