#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orva {

// The chosen firmware image as the transfer sends it: the file's bytes in a fixed buffer, zero
// beyond the file's end, and the counts that the packet exchange is planned by.
class FirmwareImage {
  public:
    static constexpr std::size_t kCapacity = 65536;
    // Image bytes carried by one data packet.
    static constexpr std::size_t kBytesPerPacket = 56;

    // What a file's content allows.
    enum class Fit { Loadable, Damaged, TooLarge };

    // Files of 0 or 1 bytes are damaged; files beyond the buffer do not fit it.
    static Fit fit(std::size_t fileLength);

    // Replaces the image with `content` (a file that fit() called loadable).
    void load(std::string_view content);

    // The byte at `offset`: the file's byte, or 0 past its end.
    std::uint8_t byteAt(std::size_t offset) const {
        return offset < m_buffer.size() ? m_buffer[offset] : 0;
    }
    std::size_t fileLength() const { return m_fileLength; }
    // One byte more than the file: the transfer always carries a zero behind the image.
    std::int32_t transferLength() const { return m_transferLength; }
    // The number of the last data packet, counting the start packet as 1.
    std::int32_t blockCount() const { return m_blockCount; }

    // The block count that a file of `fileLength` bytes gives.
    static std::int32_t blockCountFor(std::size_t fileLength);

  private:
    std::array<std::uint8_t, kCapacity> m_buffer{};
    std::size_t m_fileLength = 0;
    std::int32_t m_transferLength = 0;
    std::int32_t m_blockCount = 0;
};

}  // namespace orva
