#include "data/FlightStatRows.h"

namespace {

const char kNone[] = "none";

// "a, b", leaving out empty parts.
std::string Joined(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return a + b;
  return a + ", " + b;
}

class RowWriter {
 public:
  explicit RowWriter(UnitSystem units) : units_(units) {}

  // "298.4 m"
  std::string Value(double value, Quantity quantity) const {
    return QuantityText(value, quantity, units_) + ' ' + UnitSymbol(quantity, units_);
  }

  // "+/-1.2 m"; empty for a value without a standard error.
  std::string Error(double error, Quantity quantity) const {
    return error > 0.0 ? "+/-" + Value(error, quantity) : "";
  }

  std::string Time(double seconds) const { return Value(seconds, Quantity::Time); }

  void Add(const std::string& label, const std::string& value, const std::string& detail = "") {
    rows_.push_back({label, value, detail});
  }

  // A fitted value with its standard error, and what more the row says.
  void AddFitted(const std::string& label, const std::optional<double>& value, double error, Quantity quantity,
                 const std::string& detail = "") {
    value ? Add(label, Value(*value, quantity), Joined(Error(error, quantity), detail)) : Add(label, kNone);
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
        Joined(Error(descent->error, Quantity::DescentRate), Time(descent->fromS) + " to " + Time(descent->toS)));
  }

  void AddApogee(const FlightStats& stats) {
    if (!stats.apogee) {
      Add("apogee", kNone);
    } else if (stats.apogeeAtLeast) {
      Add("apogee", "above " + Value(*stats.apogee, Quantity::Altitude), "a lower bound");
    } else {
      Add("apogee", Value(*stats.apogee, Quantity::Altitude),
          Joined(Error(stats.errors.apogee, Quantity::Altitude),
                 stats.apogeeS ? "at " + Time(*stats.apogeeS) + Space(Error(stats.errors.apogeeS, Quantity::Time))
                               : ""));
    }
  }

  std::vector<StatRow> Rows() const { return rows_; }

 private:
  static std::string Space(const std::string& text) { return text.empty() ? text : ' ' + text; }

  UnitSystem units_;
  std::vector<StatRow> rows_;
};

}  // namespace

std::vector<StatRow> FlightStatRows(const FlightStats& stats, UnitSystem units) {
  RowWriter rows(units);
  const ClimbErrors& errors = stats.errors;
  rows.Add("recording", rows.Time(stats.durationS),
           std::to_string(stats.samples) + (stats.samples == 1 ? " sample" : " samples"));
  rows.AddFitted("launch", stats.launchS, errors.launchS, Quantity::Time);
  rows.AddFitted("burn-out", stats.burnOutS, errors.burnOutS, Quantity::Time, "the speed peaks");
  const std::string topSpeedAt =
      stats.topSpeed && stats.burnOutS
          ? rows.Value(*stats.topSpeed, Quantity::FastSpeed) + " at " + rows.Time(*stats.burnOutS)
          : "";
  rows.AddFitted("top speed", stats.burnOutS ? stats.topSpeed : std::nullopt, errors.topSpeed, Quantity::Speed,
                 topSpeedAt);
  const std::string gForce =
      stats.acceleration ? rows.Value(*stats.acceleration, Quantity::GForce) + " at lift-off" : "";
  rows.AddFitted("acceleration", stats.acceleration, errors.acceleration, Quantity::Acceleration, gForce);
  rows.AddApogee(stats);
  rows.AddFiring("line A", stats.lineA);
  rows.AddFiring("line B", stats.lineB);
  rows.AddDescent("descent", stats.descent);
  rows.AddDescent("final descent", stats.finalDescent);
  rows.AddFitted("landing", stats.landingS, 0.0, Quantity::Time);
  rows.AddFitted("flight time", stats.FlightTimeS(), 0.0, Quantity::Time, "launch to landing");
  for (const std::string& note : stats.notes) rows.Add("note", note);
  return rows.Rows();
}
