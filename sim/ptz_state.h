// The simulated device's PTZ settings: a protocol table shared by the
// channels, one PTZ head per channel and the device's on-screen menu.
//
// The head model is deliberately simple.  Pan is in degrees 0..359 and wraps
// around, tilt in degrees -90..90 and zoom a factor 1..30, both clamped.
// Each ControlPTZ command steps the position once by its speed (the request's
// "speed" parameter, else the channel's panSpeed/tiltSpeed/zoomSpeed setting)
// and leaves the head "moving" in that direction until Stop; no time passes
// in between.  Presets store the position they were added at, and going to
// one restores it.  Playing a tour moves the head to the tour's first preset
// and marks the tour playing until it is stopped; playing a recorded pattern
// replays its recorded steps once and marks it playing.  A manual move ends
// a playing tour or pattern.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "soapStub.h"

namespace sim {

struct PtzPosition {
  int pan = 0;
  int tilt = 0;
  int zoom = 1;
};

struct PtzPreset {
  std::string alias;
  int sequence = 0;
  int presetSpeed = 0;
  int parkTime = 0;
  PtzPosition position;  // where the head was when the preset was added
};

// A control protocol the device can speak to a head over its serial port.
struct PtzProtocol {
  std::string name;
  bool diagonals = true;  // whether it knows the four diagonal moves
  int maxSpeed = 64;      // the top of its pan, tilt and preset speed ranges
};

// One step of a recorded pattern: a ControlPTZ command and its speed.
struct PtzStep {
  std::string command;
  int speed = 1;
};

enum class PatternState { kIdle, kRecording, kPlaying };

using PtzParameters = std::vector<std::pair<std::string, std::string>>;

struct PtzHead {
  std::string protocol = "SIM-SERIAL-A";
  PtzPosition position;
  std::string motion = "idle";  // the last command while moving
  // Settings that SetPTZConfiguration changes (GetPTZConfiguration adds the
  // head's state after them).
  PtzParameters configuration = {{"cameraID", "1"}, {"panSpeed", "4"},  {"tiltSpeed", "4"},
                                 {"zoomSpeed", "1"}, {"autoFlip", "off"}, {"parkTime", "0"}};
  int baudRate = 9600, dataBit = 8, parity = 0, stopBit = 1;
  std::vector<PtzPreset> presets;
  std::vector<PtzPreset> tour;  // aliases name presets; the head goes to their positions
  bool touring = false;
  PatternState pattern = PatternState::kIdle;
  bool hasPattern = false;
  std::vector<PtzStep> recorded;
};

// Copyable: a configuration snapshot copies it whole.
struct PtzState {
  std::vector<PtzProtocol> protocols = {{"SIM-SERIAL-A", true, 64}, {"SIM-SERIAL-B", false, 32}};
  std::vector<PtzHead> heads;  // one per channel, created on first use
  // The on-screen menu: open or closed, the submenu depth (0..2) and the
  // highlighted row (0..7) of the current page.
  bool menuOpen = false;
  int menuDepth = 0;
  int menuRow = 0;
};

}  // namespace sim
