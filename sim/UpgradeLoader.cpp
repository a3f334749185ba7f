#include "sim/UpgradeLoader.h"

#include "protocol/Frames.h"

namespace orva::sim {
namespace {

std::uint32_t readLe32(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i]))
                 << (8 * i);
    }
    return value;
}

void writeLe32(std::string& bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

bool UpgradeLoader::isPacketType(unsigned char byte) {
    return byte == frames::kPacketStart || byte == frames::kPacketData ||
           byte == frames::kPacketEnd || byte == frames::kPacketConfirm;
}

void UpgradeLoader::enter() {
    m_phase = Phase::AwaitStart;
    m_packet.clear();
    m_expected = 1;
    m_checksum = 0;
    m_image.clear();
}

void UpgradeLoader::leave() {
    m_phase = Phase::Off;
    m_packet.clear();
}

std::optional<std::string> UpgradeLoader::feed(unsigned char byte) {
    if (m_phase == Phase::Off) {
        return std::nullopt;
    }
    m_packet.push_back(static_cast<char>(byte));
    if (m_packet.size() < frames::kPacketSize) {
        return std::nullopt;
    }
    const auto type = static_cast<unsigned char>(m_packet[0]);
    const std::uint32_t block = readLe32(m_packet, frames::kPacketBlockOffset);
    // A packet out of turn changes nothing; the answer names the block still expected.
    if (type == frames::kPacketStart) {
        // A start packet opens a new transfer whatever came before.
        m_image.clear();
        m_checksum = 0;
        m_expected = block + 1;
        m_phase = Phase::Data;
    } else if (block == m_expected && type == frames::kPacketData && m_phase == Phase::Data) {
        for (std::size_t i = 0; i < frames::kPacketDataBytes; ++i) {
            const auto b = static_cast<std::uint8_t>(m_packet[frames::kPacketDataOffset + i]);
            m_image.push_back(b);
            m_checksum += b;
        }
        ++m_expected;
    } else if (block == m_expected && type == frames::kPacketEnd && m_phase == Phase::Data) {
        ++m_expected;
        m_phase = Phase::AwaitConfirm;
    } else if (block == m_expected && type == frames::kPacketConfirm &&
               m_phase == Phase::AwaitConfirm) {
        ++m_expected;
        m_completed = m_image;
        m_phase = Phase::Off;
    }
    m_packet.clear();
    return answer(type);
}

std::string UpgradeLoader::answer(unsigned char type) const {
    std::string out(frames::kPacketSize, '\0');
    out[0] = static_cast<char>(type);  // echoes the packet it answers
    writeLe32(out, frames::kPacketBlockOffset, m_expected);
    writeLe32(out, frames::kPacketChecksumOffset, m_checksum);
    return out;
}

std::optional<std::vector<std::uint8_t>> UpgradeLoader::takeCompletedImage() {
    auto out = std::move(m_completed);
    m_completed.reset();
    return out;
}

}  // namespace orva::sim
