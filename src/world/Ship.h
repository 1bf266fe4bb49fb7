// Ship: one player's ship and pilot on foot, with its pre-rendered frames, masks and marker points.
#pragma once

#include "media/Surface.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TFiles;

constexpr int ShipFrameCount = 130;
constexpr int PilotFrame = 128;      // the pilot figure; 129 is its mirror image
constexpr int UprightShipFrame = 32; // angle 64
const std::string PilotFigureFile = "graphics\\menu\\flaron.bmp";

// A point where flames or shots leave the sprite: angle in 256ths of a turn relative to the heading
// (0 = straight ahead), distance in world pixels from the sprite centre.
struct TMarker {
    float Angle = 0;
    float Distance = 0;
};

class TShip {
  public:
    float X = 0;
    float Y = 0;
    float VX = 0;
    float VY = 0;
    float StartX = 0;
    float StartY = 0;
    double Angle = 0; // 64 = up; 256 and 258 pick the two on-foot frames
    // Index 0 flying, 1 on foot: the sprite's lowest opaque row and its x range, relative to the centre.
    std::array<int16_t, 2> FootY{};
    std::array<int16_t, 2> FootLeft{};
    std::array<int16_t, 2> FootRight{};
    std::array<Surface, ShipFrameCount> Masks;  // 0..127 white silhouettes; 128, 129 the figure in colour
    std::array<Surface, ShipFrameCount> Frames; // 0..127 the ship turned to angle 2k; 128, 129 the pilot
    uint8_t OnFoot = 0;
    uint8_t Alive = 0;
    uint8_t Glued = 0;
    uint16_t RespawnTimer = 0;
    uint8_t AtOwnBase = 0;
    uint8_t AtEnemyBase = 0;
    std::vector<TMarker> Nozzles;
    std::vector<TMarker> Guns;
    uint8_t Lives = 0;
    float Health = 100;
    float Fuel = 200;
    uint8_t NozzleIndex = 0;
    uint8_t GunIndex = 0;
    uint8_t CapturesThisLife = 0;
    uint32_t LifeSeconds = 0;
    uint32_t EnemyBaseSeconds = 0;

    // Loads the ship picture and the pilot figure and prepares every frame; raises TWorldError
    // when either picture cannot be read.
    void Create(const TFiles& files, const std::string& shipFile, float scale);
    // The same from pictures already in memory.
    void Build(Surface ship, const Surface& pilot, float scale);
    // Fills FootY, FootLeft and FootRight from frame 32 (flying) and frame 128 (on foot).
    void ComputeFootprints();
    // The frame drawn for the current Angle; -1 when the angle selects no frame.
    int FrameIndex() const;
};

// A silhouette pixel is solid when its blue byte, the first of the 32-bit value, is not zero. Ship
// silhouettes are white; the pilot figure keeps its colours in its mask, so its pure red and pure
// green key areas are see-through and its outline, boots and helmet carry the blue that is hit and
// meets the rock.
inline bool MaskSolid(uint32_t pixel) {
    return (pixel & 0xFFu) != 0;
}

// Turns a picture drawn pointing up to `angle` (256ths, 64 = unchanged) and scales it by `scale`,
// nearest-neighbour, cropped symmetrically so the frame centre stays the picture centre. A picture
// without any visible pixel gives a 1 x 1 black frame.
Surface RotateAndScale(const Surface& source, int angle, float scale);
// Side of the square that RotateAndScale works in.
int RotateWorkSide(int sourceHeight, float scale);

// Finds the pure red nozzle and pure green gun pixels, paints them black and turns them into
// marker points; a picture without any gets one gun at the nose and one nozzle at the tail.
void ScanMarkers(Surface& picture, float scale, std::vector<TMarker>& nozzles, std::vector<TMarker>& guns);

// Lowest opaque row of a frame and its x range, relative to the frame centre.
void Footprint(const Surface& frame, int16_t& footY, int16_t& footLeft, int16_t& footRight);
