// TestSupport: temporary folders, a scripted platform and test-made fonts for the tests.
#pragma once

#include "media/ImageList.h"
#include "media/Platform.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with the object.
class TTempDir {
  public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    std::filesystem::path Path;
    // Writes a file (creating its folders) below the folder.
    void Write(const std::string& relative, const std::vector<uint8_t>& bytes) const;
    void Write(const std::string& relative, const std::string& text) const;
};

// A platform whose clock advances 10 ms per idle call and whose keys are set by the test.
class TTestPlatform : public TPlatform {
  public:
    uint64_t Clock = 0;
    TRawInput Held;
    bool Closing = false;
    int Presents = 0;
    Surface LastPresented;

    uint64_t NowMs() override { return Clock; }
    int ClockSeconds() override { return int((Clock / 1000) % 60); }
    void PumpEvents() override {}
    TRawInput ReadInput() override { return Held; }
    void Present(const Surface& back) override {
        ++Presents;
        LastPresented = back;
    }
    bool Active() override { return true; }
    bool CloseRequested() override { return Closing; }
    void FeedAudio(TMixer&) override {}
    void Idle() override { Clock += 10 - Clock % 10; }
    void Press(TKey key, bool down) { Held.Keys[key] = down; }
};

// Golden screens: digests of the screens (or other states) a test shows, kept in tests/replays/SET.screens
// as "label digest" lines and compared when it ends; a screen that differs fails naming its label. With
// FLARONS_RECORD_SCREENS=1 in the environment the file is written anew instead.
uint64_t ScreenDigest(const Surface& screen);
struct TGoldenScreens {
    std::string Set;
    std::vector<std::string> Shown;
    void Check(const std::string& label, const Surface& screen);
    void Check(const std::string& label, uint64_t digest);
    ~TGoldenScreens();
};

// A font image of cellCount cells of the given size whose cell k is filled with colour k + 1.
TPictureItem MakeCellFont(const std::string& name, int cellWidth, int height, int cellCount);

// A 70-byte black-and-white .bmp whose header announces 1 x 65,535 pixels (the 12-byte header,
// whose height is unsigned) or 1 x 70,000 (the 40-byte header): far more rows than it holds.
std::vector<uint8_t> TinyTallBmp(int headerSize);
