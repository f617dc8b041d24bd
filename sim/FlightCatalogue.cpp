#include "sim/FlightCatalogue.h"

#include <algorithm>

namespace {

// A drogue at apogee (Line A) and a main at `mainAltitude` m (Line B).
FlightParameters DualDeploy(uint16_t mainAltitude, double drogueRate, double mainRate) {
  FlightParameters flight;
  flight.rules.lineAMode = LineMode::Apogee;
  flight.rules.lineBMode = LineMode::Altitude;
  flight.rules.lineBValue = mainAltitude;
  flight.rules.maxReadings = 3968;
  flight.descentRateMs = drogueRate;
  flight.mainDescentRateMs = mainRate;
  return flight;
}

CataloguedFlight Club() { return {"club, 300 m", DualDeploy(100, 12.0, 5.5)}; }

CataloguedFlight High() {
  CataloguedFlight high{"high and fast down, 680 m", DualDeploy(200, 18.0, 9.0)};
  high.flight.thrustN = 32.0;
  high.flight.burnTimeS = 1.8;
  high.flight.groundAltitudeM = 420.0;
  return high;
}

CataloguedFlight Heavy() {
  CataloguedFlight heavy{"heavy, long burn, 950 m", DualDeploy(150, 15.0, 6.0)};
  heavy.flight.liftoffMassKg = 0.6;
  heavy.flight.propellantMassKg = 0.08;
  heavy.flight.thrustN = 60.0;
  heavy.flight.burnTimeS = 2.5;
  heavy.flight.dragAreaM2 = 0.0012;
  return heavy;
}

CataloguedFlight Light() {
  CataloguedFlight light{"light, short burn, high site, 540 m", DualDeploy(200, 20.0, 7.0)};
  light.flight.liftoffMassKg = 0.15;
  light.flight.propellantMassKg = 0.015;
  light.flight.thrustN = 30.0;
  light.flight.burnTimeS = 1.0;
  light.flight.dragAreaM2 = 0.0006;
  light.flight.groundAltitudeM = 1200.0;
  return light;
}

CataloguedFlight Noisy() {
  CataloguedFlight noisy{"noisy sensor, 870 m", DualDeploy(200, 16.0, 6.0)};
  noisy.flight.thrustN = 40.0;
  noisy.flight.burnTimeS = 2.0;
  noisy.flight.noiseCounts = 0.7;
  return noisy;
}

CataloguedFlight Silent() {
  CataloguedFlight silent{"no line fires, 670 m", DualDeploy(0, 6.0, 0.0)};
  silent.flight.thrustN = 32.0;
  silent.flight.burnTimeS = 1.8;
  silent.flight.rules.lineAMode = LineMode::Disabled;
  silent.flight.rules.lineBMode = LineMode::Disabled;
  return silent;
}

CataloguedFlight Timed() {
  CataloguedFlight timed = Silent();
  timed.name = "line A by time while coasting, line B at apogee";
  timed.flight.rules.lineAMode = LineMode::Time;
  timed.flight.rules.lineAValue = 30;
  timed.flight.rules.lineBMode = LineMode::Apogee;
  return timed;
}

CataloguedFlight Unlanded() {
  CataloguedFlight unlanded{"slow descent, recording ends in the air, 1360 m", DualDeploy(700, 2.0, 0.0)};
  unlanded.flight.thrustN = 60.0;
  unlanded.flight.burnTimeS = 2.5;
  unlanded.flight.groundAltitudeM = 420.0;
  unlanded.flight.rules.maxReadings = 2000;
  return unlanded;
}

CataloguedFlight VeryHigh() {
  CataloguedFlight high{"very high, 8.5 km", DualDeploy(300, 30.0, 8.0)};
  high.flight.liftoffMassKg = 2.0;
  high.flight.propellantMassKg = 0.9;
  high.flight.thrustN = 520.0;
  high.flight.burnTimeS = 4.0;
  high.flight.dragAreaM2 = 0.0007;
  return high;
}

CataloguedFlight FailedMain() {
  CataloguedFlight failed{"failed main, 20 m/s to the ground", DualDeploy(150, 20.0, 0.0)};
  failed.flight.thrustN = 40.0;
  failed.flight.burnTimeS = 2.0;
  return failed;
}

CataloguedFlight LateMain() {
  CataloguedFlight late{"late main, fired 2 s before touchdown", DualDeploy(40, 20.0, 0.0)};
  late.flight.thrustN = 40.0;
  late.flight.burnTimeS = 2.0;
  return late;
}

CataloguedFlight TwoStages() {
  CataloguedFlight two{"two stages, 5 s coast between", DualDeploy(200, 15.0, 6.0)};
  two.flight.liftoffMassKg = 0.5;
  two.flight.propellantMassKg = 0.04;
  two.flight.thrustN = 50.0;
  two.flight.burnTimeS = 1.5;
  two.flight.stageGapS = 5.0;
  two.flight.secondThrustN = 45.0;
  two.flight.secondBurnTimeS = 1.8;
  two.flight.secondPropellantMassKg = 0.04;
  return two;
}

CataloguedFlight MidAirStart() {
  CataloguedFlight reset = Heavy();
  reset.name = "reset in flight, recording starts while coasting";
  reset.flight.resetAtS = 4.0;
  return reset;
}

CataloguedFlight Saturated() {
  CataloguedFlight pinned = Heavy();
  pinned.name = "sensor's range ends 800 m above the pad";
  pinned.flight.sensorTopM = pinned.flight.groundAltitudeM + 800.0;
  return pinned;
}

CataloguedFlight ShortBoost() {
  CataloguedFlight shortBoost{"0.2 s boost, 310 m/s^2", DualDeploy(100, 12.0, 5.0)};
  shortBoost.flight.thrustN = 80.0;
  shortBoost.flight.burnTimeS = 0.2;
  shortBoost.flight.liftoffMassKg = 0.25;
  shortBoost.flight.propellantMassKg = 0.01;
  return shortBoost;
}

}  // namespace

std::vector<CataloguedFlight> FlightCatalogue() {
  return {Club(),     High(),       Heavy(),    Light(),      Noisy(),       Silent(),    Timed(),
          Unlanded(), VeryHigh(),   FailedMain(), LateMain(), TwoStages(), MidAirStart(), Saturated(),
          ShortBoost()};
}

FlightParameters CataloguedFlightNamed(const std::string& name) {
  const std::vector<CataloguedFlight> all = FlightCatalogue();
  const auto found = std::find_if(all.begin(), all.end(), [&](const CataloguedFlight& f) { return f.name == name; });
  return found != all.end() ? found->flight : Club().flight;
}
