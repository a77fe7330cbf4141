// What a BMP file's own headers say about it, read before the platform decodes the file: the
// platform's loader accepts files cut short (filling the missing rows with whatever follows in
// memory), and under Wine it returns top-down files all black while reporting success.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Tarvik {

// Bytes of a BMP file's start that ReadBmpHeaders needs to see (file header and the start of a
// 40-byte or larger info header; a file with the old 12-byte header needs only 26).
constexpr std::size_t BMP_HEAD_BYTES = 34;

struct BmpHeaderFacts {
    // The file holds the headers it declares and, for uncompressed pictures, every row of pixels
    // after its data offset.
    bool Complete = false;
    // Rows are stored top row first (a negative height; the old 12-byte header has no sign).
    bool TopDown = false;
};

// Facts of a file `fileSize` bytes long whose first `headLength` bytes are `head`.
BmpHeaderFacts ReadBmpHeaders(const std::uint8_t* head, std::size_t headLength,
                              std::uint64_t fileSize);

// The same for a file on disk; one that cannot be read is neither complete nor top-down.
BmpHeaderFacts InspectBmpFile(const char* fileName);

} // namespace Tarvik
