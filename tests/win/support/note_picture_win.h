#pragma once
// A note's painted parts as one picture, and reference pictures kept as PNG files
// beside the tests: the face (printed with WM_PRINTCLIENT, as FaceShot does) with
// the check boxes of the body area printed onto it where they sit.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vn::test {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    friend bool operator==(const Picture&, const Picture&) = default;
};

// The note's face with its visible check boxes.
Picture PrintNote(HWND note);

// `lower` below `upper`, left-aligned; the rest of the wider one's rows is black.
Picture Stacked(const Picture& upper, const Picture& lower);

// The folder of the reference pictures (tests/win/note/pictures).
std::filesystem::path ReferencePictures();

// Reads and writes a PNG with GDI+; an unreadable file gives an empty picture.
Picture ReadPng(const std::filesystem::path& file);
bool WritePicturePng(const Picture& picture, const std::filesystem::path& file);

// Empty when the pictures agree; else where and how they differ first, and how many
// pixels differ.
std::string PictureDifference(const Picture& expected, const Picture& actual);

} // namespace vn::test
