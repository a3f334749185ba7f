#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>

namespace orva {

// Words of the exchanges shown beside the port list, before the device.
enum class Notice { Readback, Backup, Frame };

// The exchanges' words for the label beside the port list, each kept until replaced; the window
// composes the label from them.
class PortNotices {
  public:
    static constexpr std::size_t kCount = 3;

    // Sets one of them; empty for none.
    void set(Notice which, std::string text) {
        m_texts.at(static_cast<std::size_t>(which)) = std::move(text);
        if (m_listener) {
            m_listener();
        }
    }
    const std::string& get(Notice which) const {
        return m_texts.at(static_cast<std::size_t>(which));
    }
    // All of them, in the order the label shows them.
    const std::array<std::string, kCount>& all() const { return m_texts; }

    // Called after every change.
    void setListener(std::function<void()> listener) { m_listener = std::move(listener); }

  private:
    std::array<std::string, kCount> m_texts;
    std::function<void()> m_listener;
};

}  // namespace orva
