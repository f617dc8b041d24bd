#pragma once
// The altimeter's flight memory: 128 blocks of 64 bytes, each block a packet
// (its first word the header, its low byte the packet kind). Flights are
// recorded one after another from block 0; the blocks after the last flight
// are erased (kind 0xFF, every word 0xFFFF), and a full memory has none.
#include <array>
#include <vector>

#include "data/DataPacket.h"
#include "device/DeviceCode.h"
#include "sim/FlightModel.h"

using FlightMemory = std::array<DataPacket, kMemoryBlocks>;

// Every block erased, as after a clear.
FlightMemory ErasedMemory();

// The sets (each a start packet and its continuations, as RecordFlight makes
// them) laid one after another from block 0, as the altimeter records them.
// Recording stops at the end of the memory: a set that does not fit is cut
// there, and the sets after it are not recorded.
FlightMemory LayOutMemory(const std::vector<std::vector<DataPacket>>& sets);

// The number of blocks before the first erased one.
int UsedBlocks(const FlightMemory& memory);

// Ready-made memories.
enum class MemoryPreset {
  Empty,           // block 0 erased
  OneFlight,       // one flight of about 300 m with the default settings
  SeveralFlights,  // three flights of different motors, sites and settings
  Full,            // five flights, the last one cut where the 128 blocks end
};

// The flights of a preset, in recording order; none for Empty.
std::vector<FlightParameters> PresetFlights(MemoryPreset preset);
// The memory of a preset: its flights recorded and laid out.
FlightMemory PresetMemory(MemoryPreset preset);
