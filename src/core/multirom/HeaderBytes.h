#pragma once

// Where the header of a Game Boy Advance image lies, and its complement check: plain C++, so that
// the simulator, which has no Qt, reads a header as Vellmore does.
namespace multirom {

constexpr int gameHeaderSize = 0xC0;
constexpr int complementOffset = 0xBD;

// The complement check that belongs to a header over bytes 0xA0 to 0xBC (image holds at least
// gameHeaderSize bytes).
inline unsigned char headerComplement(const char* image)
{
    int sum = 0;
    for (int i = 0xA0; i <= 0xBC; ++i)
        sum += static_cast<unsigned char>(image[i]);
    return static_cast<unsigned char>(-(sum + 0x19));
}

} // namespace multirom
