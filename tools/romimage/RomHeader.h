#pragma once

// The header of a Game Boy Advance image: title at 0xA0, game code at 0xAC, maker code at 0xB0,
// and at 0xBD the complement check over bytes 0xA0 to 0xBC. Plain C++, for the simulator too.
namespace romimage {

constexpr int headerSize = 0xC0;
constexpr int complementOffset = 0xBD;

// The complement check that belongs to a header (image holds at least headerSize bytes).
inline unsigned char headerComplement(const char* image)
{
    int sum = 0;
    for (int i = 0xA0; i <= 0xBC; ++i)
        sum += static_cast<unsigned char>(image[i]);
    return static_cast<unsigned char>(-(sum + 0x19));
}

} // namespace romimage
