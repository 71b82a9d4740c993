#pragma once

// Starts libvips for this app. libvips opens every module in its module folder as it starts
// (HEIF with its AV1 and HEVC codecs, JPEG XL, OpenSlide, poppler, ImageMagick), and their
// libraries take about 5 MB of memory in the process. Our pictures need two of them, and only
// for some kinds of file. So libvips starts without its modules, and each one is opened the
// first time a file needs it.
//
// Thread-safety: any thread, any number at once.
namespace VipsStart {

// Starts libvips, once; the process cannot go on without it.
void start();

// Opens the module of that name ("magick", "poppler") if it is not open yet; starts libvips
// first. When there is no such module (a libvips with that loader built in, or without it),
// nothing happens: the decode that needs it says what went wrong.
void openModule(const char *name);

} // namespace VipsStart
