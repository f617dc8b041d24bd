#include "sim/FlightMemory.h"

#include <algorithm>

FlightMemory ErasedMemory() {
  FlightMemory memory;
  memory.fill(DataPacket::MakeEmpty());
  return memory;
}

FlightMemory LayOutMemory(const std::vector<std::vector<DataPacket>>& sets) {
  FlightMemory memory = ErasedMemory();
  size_t next = 0;
  for (const auto& set : sets) {
    const size_t fits = std::min(set.size(), memory.size() - next);
    std::copy_n(set.begin(), fits, memory.begin() + static_cast<std::ptrdiff_t>(next));
    next += fits;
  }
  return memory;
}

int UsedBlocks(const FlightMemory& memory) {
  const auto erased = std::find_if(memory.begin(), memory.end(), [](const DataPacket& p) { return p.IsErased(); });
  return static_cast<int>(erased - memory.begin());
}

namespace {

FlightParameters SmallFlight() {
  FlightParameters flight;  // a small motor on a light rocket: about 110 m
  flight.thrustN = 8.0;
  flight.burnTimeS = 0.8;
  flight.liftoffMassKg = 0.1;
  flight.propellantMassKg = 0.008;
  flight.descentRateMs = 4.0;
  flight.groundAltitudeM = 30.0;
  flight.rules.lineAMode = LineMode::Apogee;
  flight.rules.lineBMode = LineMode::Disabled;
  flight.seed = 11;
  return flight;
}

FlightParameters TimedFlight() {
  FlightParameters flight;  // about 360 m, both lines by time, from a site at 640 m
  flight.thrustN = 28.0;
  flight.burnTimeS = 1.4;
  flight.liftoffMassKg = 0.35;
  flight.propellantMassKg = 0.03;
  flight.descentRateMs = 7.0;
  flight.groundAltitudeM = 640.0;
  flight.rules.lineAMode = LineMode::Time;
  flight.rules.lineAValue = 45;
  flight.rules.lineBMode = LineMode::Time;
  flight.rules.lineBValue = 120;
  flight.seed = 12;
  return flight;
}

FlightParameters LongFlight(uint32_t seed) {
  FlightParameters flight;  // about 900 m: recorded until its 992 readings are used
  flight.thrustN = 45.0;
  flight.burnTimeS = 2.0;
  flight.liftoffMassKg = 0.35;
  flight.propellantMassKg = 0.04;
  flight.descentRateMs = 6.0;
  flight.groundAltitudeM = 200.0;
  flight.seed = seed;
  return flight;
}

}  // namespace

std::vector<FlightParameters> PresetFlights(MemoryPreset preset) {
  switch (preset) {
    case MemoryPreset::OneFlight:
      return {FlightParameters()};
    case MemoryPreset::SeveralFlights:
      return {SmallFlight(), FlightParameters(), TimedFlight()};
    case MemoryPreset::Full:
      return {LongFlight(21), LongFlight(22), FlightParameters(), LongFlight(24), LongFlight(25)};
    case MemoryPreset::Empty:
      break;
  }
  return {};
}

FlightMemory PresetMemory(MemoryPreset preset) {
  std::vector<std::vector<DataPacket>> sets;
  for (const FlightParameters& flight : PresetFlights(preset)) sets.push_back(RecordFlight(flight).packets);
  return LayOutMemory(sets);
}
