#pragma once
// The commands zelgadget obeys, one line each:
//   plug application|bootloader [VERSION]   VERSION in hexadecimal: 0x0142
//   pull
//   memory empty|one|several|full
//   paced on|off
//   fault none|silence|removal|wrong-code|pressure
//   dump-memory PATH | dump-flash PATH      the device's bytes, for comparisons
//   settings                                the settings image as stored
//   counts                                  reports moved since the plug-in
//   quit
#include <string>

#include "tools/zelgadget/AltimeterGadget.h"

struct GadgetReply {
  bool ok = false;
  std::string text;  // what was asked for, or why the command failed
  bool quit = false;
};

GadgetReply RunGadgetCommand(AltimeterGadget& gadget, const std::string& line);
