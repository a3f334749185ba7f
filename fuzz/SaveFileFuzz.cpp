// The parameter file as the restore reads it: the check that a file is exactly what Save Data
// writes, and the entries cut from its lines at fixed byte positions.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "paramfile/ParameterSaveFile.h"
#include "paramfile/RestoreEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto foreign = orva::ParameterSaveFile::firstForeignLine(bytes);
    // Line numbers count from 1 and never pass the file's own lines.
    if (foreign && (*foreign < 1 || static_cast<std::size_t>(*foreign) > size + 1)) {
        __builtin_trap();
    }
    orva::RestoreEntries entries;
    (void)entries.readFrom(bytes);
    for (int index = -1; index <= orva::RestoreEntries::kCount; ++index) {
        (void)entries.integer(index);
    }
    return 0;
}
