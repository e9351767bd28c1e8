// The figures of the acoustic-centre drawings: round millimetres in the unit's own frame, X
// forward, Y starboard, Z down, from the mounting reference point on the top of its mounting
// face. The outlines and the dimension labels are both drawn from this one table, so a drawing
// cannot label an offset its picture does not show. The figures illustrate how a surveyor
// reads the offsets; an installation takes them from the unit's own installation drawing.
#pragma once

#include <array>
#include <string_view>

namespace assets {

enum class Component { None, Bracket, Housing, Receiver, Projector, ImuHousing, BasePlate, Connector };

// An axis-aligned block of the unit, from the reference point.
struct Block {
    Component component;
    int x0, x1, y0, y1, z0, z1;
};

struct Offset {
    int x, y, z;
};

struct CentreDrawing {
    std::string_view asset; // the PDF's name without ".pdf"
    std::string_view unit;  // as the title names it
    bool sonar;             // an acoustic centre; otherwise an IMU's centre of measurement
    std::array<Block, 4> blocks;
    Offset centre; // from the reference point
};

// The heads grow from the compact 2020, arrays and electronics in one housing, to the 2026
// with the longest receiver; the receiver runs across track, the projector along it, and the
// reference point sits on the mounting bracket a little to port of the arrays' centre line.
inline constexpr std::array<CentreDrawing, 5> kCentreDrawings{{
    {"centre_sonic2020",
     "Sonic 2020",
     true,
     {{{Component::Bracket, -60, 60, -40, 80, 0, 15},
       {Component::Housing, -110, 110, -140, 180, 15, 125},
       {Component::Receiver, -85, -35, -120, 160, 125, 135},
       {Component::Projector, -15, 95, 5, 35, 125, 135}}},
     {-60, 20, 135}},
    {"centre_sonic2022",
     "Sonic 2022",
     true,
     {{{Component::Bracket, -200, 200, -5, 45, 0, 20},
       {Component::Receiver, -190, -110, -210, 250, 20, 130},
       {Component::Projector, -80, 190, -20, 60, 20, 110},
       {Component::None, 0, 0, 0, 0, 0, 0}}},
     {-150, 20, 130}},
    {"centre_sonic2024",
     "Sonic 2024",
     true,
     {{{Component::Bracket, -230, 230, -5, 55, 0, 20},
       {Component::Receiver, -220, -130, -255, 305, 20, 140},
       {Component::Projector, -95, 225, -20, 70, 20, 115},
       {Component::None, 0, 0, 0, 0, 0, 0}}},
     {-175, 25, 140}},
    {"centre_sonic2026",
     "Sonic 2026",
     true,
     {{{Component::Bracket, -320, 320, -10, 70, 0, 25},
       {Component::Receiver, -305, -195, -370, 430, 25, 175},
       {Component::Projector, -150, 310, -30, 90, 25, 150},
       {Component::None, 0, 0, 0, 0, 0, 0}}},
     {-250, 30, 175}},
    // One housing for the three I2NS types; the reference point is the mark on its lid.
    {"centre_i2ns_imu",
     "I2NS IMU",
     false,
     {{{Component::ImuHousing, -100, 100, -85, 85, 0, 170},
       {Component::BasePlate, -125, 125, -105, 105, 170, 182},
       {Component::Connector, -125, -100, -25, 25, 50, 100},
       {Component::None, 0, 0, 0, 0, 0, 0}}},
     {35, -25, 80}},
}};

// A head's acoustic centre is where the receiver's axis crosses the projector's, on the
// receiver's face; an IMU's centre of measurement lies inside its housing. A figure typed
// into the table that breaks this stops the build here.
constexpr bool CentreFitsOutline(const CentreDrawing& drawing) {
    const Block* receiver = nullptr;
    const Block* projector = nullptr;
    const Block* housing = nullptr;
    for (const Block& block : drawing.blocks) {
        if (block.component != Component::None &&
            (block.x0 >= block.x1 || block.y0 >= block.y1 || block.z0 >= block.z1)) {
            return false;
        }
        if (block.component == Component::Receiver) {
            receiver = &block;
        }
        if (block.component == Component::Projector) {
            projector = &block;
        }
        if (block.component == Component::ImuHousing) {
            housing = &block;
        }
    }
    const Offset& c = drawing.centre;
    if (drawing.sonar) {
        return receiver && projector && 2 * c.x == receiver->x0 + receiver->x1 &&
               2 * c.y == projector->y0 + projector->y1 && c.z == receiver->z1;
    }
    return housing && housing->x0 < c.x && c.x < housing->x1 && housing->y0 < c.y && c.y < housing->y1 &&
           housing->z0 < c.z && c.z < housing->z1;
}

constexpr bool AllCentresFitOutlines() {
    for (const CentreDrawing& drawing : kCentreDrawings) {
        if (!CentreFitsOutline(drawing)) {
            return false;
        }
    }
    return true;
}
static_assert(AllCentresFitOutlines(), "a drawing's centre does not sit where its outline puts it");

} // namespace assets
