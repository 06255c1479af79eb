#pragma once
// A monochrome picture of 800 x 600 dots, one bit a dot, the drawing surface's
// canvas. Every access outside the picture is ignored (set, clear) or reads as
// a clear dot, so callers' coordinates can never reach outside its memory.

#include <cstdint>
#include <vector>

namespace qv {

inline constexpr int kPictureWidth = 800;
inline constexpr int kPictureHeight = 600;

class MonoPicture {
public:
    MonoPicture();

    static bool contains(int x, int y) {
        return x >= 0 && x < kPictureWidth && y >= 0 && y < kPictureHeight;
    }

    bool dot(int x, int y) const;
    void setDot(int x, int y);
    void clearDot(int x, int y);
    // Clears the dots of the rectangle [left, right) x [top, bottom), clipped.
    void clearRect(int left, int top, int right, int bottom);

private:
    static constexpr int kRowBytes = kPictureWidth / 8;
    std::vector<std::uint8_t> m_bits;
};

} // namespace qv
