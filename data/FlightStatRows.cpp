#include "data/FlightStatRows.h"

namespace {

const char kNone[] = "none";

class RowWriter {
 public:
  explicit RowWriter(UnitSystem units) : units_(units) {}

  // "298.4 m"
  std::string Value(double value, Quantity quantity) const {
    return QuantityText(value, quantity, units_) + ' ' + UnitSymbol(quantity, units_);
  }

  std::string Time(double seconds) const { return Value(seconds, Quantity::Time); }

  void Add(const std::string& label, const std::string& value, const std::string& detail = "") {
    rows_.push_back({label, value, detail});
  }

  void AddTime(const std::string& label, const std::optional<double>& seconds, const std::string& detail = "") {
    seconds ? Add(label, Time(*seconds), detail) : Add(label, kNone);
  }

  void AddFiring(const std::string& label, const std::optional<LineFiring>& firing) {
    if (firing) {
      Add(label, Time(firing->timeS), "at " + Value(firing->altitude, Quantity::Altitude));
    } else {
      Add(label, kNone, "never fired");
    }
  }

  void AddDescent(const std::string& label, const std::optional<DescentRate>& descent) {
    if (!descent) {
      Add(label, kNone);
      return;
    }
    Add(label, Value(descent->rate, Quantity::DescentRate),
        "+/-" + Value(descent->error, Quantity::DescentRate) + ", " + Time(descent->fromS) + " to " +
            Time(descent->toS));
  }

  std::vector<StatRow> Rows() const { return rows_; }

 private:
  UnitSystem units_;
  std::vector<StatRow> rows_;
};

}  // namespace

std::vector<StatRow> FlightStatRows(const FlightStats& stats, UnitSystem units) {
  RowWriter rows(units);
  rows.Add("recording", rows.Time(stats.durationS),
           std::to_string(stats.samples) + (stats.samples == 1 ? " sample" : " samples"));
  rows.AddTime("launch", stats.launchS);
  rows.AddTime("burn-out", stats.burnOutS, stats.burnOutS ? "the speed peaks" : "");
  if (stats.topSpeed && stats.burnOutS) {
    rows.Add("top speed", rows.Value(*stats.topSpeed, Quantity::Speed),
             rows.Value(*stats.topSpeed, Quantity::FastSpeed) + " at " + rows.Time(*stats.burnOutS));
  } else {
    rows.Add("top speed", kNone);
  }
  if (stats.acceleration) {
    rows.Add("acceleration", rows.Value(*stats.acceleration, Quantity::Acceleration),
             rows.Value(*stats.acceleration, Quantity::GForce) + " at lift-off");
  } else {
    rows.Add("acceleration", kNone);
  }
  if (stats.apogee && stats.apogeeS) {
    rows.Add("apogee", rows.Value(*stats.apogee, Quantity::Altitude), "at " + rows.Time(*stats.apogeeS));
  } else {
    rows.Add("apogee", kNone);
  }
  rows.AddFiring("line A", stats.lineA);
  rows.AddFiring("line B", stats.lineB);
  rows.AddDescent("descent", stats.descent);
  rows.AddDescent("final descent", stats.finalDescent);
  rows.AddTime("landing", stats.landingS);
  rows.AddTime("flight time", stats.FlightTimeS(), stats.FlightTimeS() ? "launch to landing" : "");
  return rows.Rows();
}
