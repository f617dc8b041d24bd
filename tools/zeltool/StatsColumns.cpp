#include "tools/zeltool/StatsColumns.h"

#include <optional>

namespace {

using Value = std::function<std::optional<double>(const FlightStats&)>;

Value ValueOf(std::optional<double> FlightStats::*value) {
  return [value](const FlightStats& stats) { return stats.*value; };
}

template <typename Part>
Value PartOf(std::optional<Part> FlightStats::*part, double Part::*field) {
  return [part, field](const FlightStats& stats) -> std::optional<double> {
    const std::optional<Part>& of = stats.*part;
    if (!of) return std::nullopt;
    return (*of).*field;
  };
}

StatsColumn TextColumn(const std::string& name, std::string (*text)(const FlightRecord&)) {
  return {name, name,
          [text](const FlightRecord& record) { return StatsCell{StatsCell::Kind::Text, text(record), {}}; }};
}

StatsColumn FlagColumn(const std::string& header, const std::string& key, bool FlightStats::*flag) {
  return {header, key, [flag](const FlightRecord& record) {
            return StatsCell{StatsCell::Kind::Flag, record.stats.*flag ? "true" : "false", {}};
          }};
}

StatsColumn NotesColumn() {
  return {"notes", "notes",
          [](const FlightRecord& record) { return StatsCell{StatsCell::Kind::List, "", record.stats.notes}; }};
}

// The standard error of a climb's value.
Value ErrorOf(double ClimbErrors::*error, std::optional<double> FlightStats::*value) {
  return [error, value](const FlightStats& stats) -> std::optional<double> {
    if (!(stats.*value) || stats.errors.*error <= 0.0) return std::nullopt;
    return stats.errors.*error;
  };
}

StatsColumn CountColumn(const std::string& name, int (*count)(const FlightRecord&)) {
  return {name, name, [count](const FlightRecord& record) {
            return StatsCell{StatsCell::Kind::Number, std::to_string(count(record)), {}};
          }};
}

class QuantityColumns {
 public:
  explicit QuantityColumns(UnitSystem units) : units_(units) {}

  // "label (unit)" in CSV, key with the unit's suffix in JSON.
  StatsColumn Column(const std::string& label, const std::string& key, Quantity quantity, const Value& value) const {
    const UnitSystem units = units_;
    return {label + " (" + UnitSymbol(quantity, units) + ")", key + UnitKeySuffix(quantity, units),
            [=](const FlightRecord& record) {
              const std::optional<double> si = value(record.stats);
              if (!si) return StatsCell{};
              return StatsCell{StatsCell::Kind::Number, QuantityText(*si, quantity, units), {}};
            }};
  }

  // A fitted value of the climb and its standard error.
  std::vector<StatsColumn> Fitted(const std::string& label, const std::string& key, Quantity quantity,
                                  std::optional<double> FlightStats::*value, double ClimbErrors::*error) const {
    return {Column(label, key, quantity, ValueOf(value)),
            Column(label + " error", key + "Error", quantity, ErrorOf(error, value))};
  }

  // A descent's rate, its error and its window.
  std::vector<StatsColumn> Descent(const std::string& label, const std::string& key,
                                   std::optional<DescentRate> FlightStats::*descent) const {
    return {
        Column(label + " rate", key + "Rate", Quantity::DescentRate, PartOf(descent, &DescentRate::rate)),
        Column(label + " rate error", key + "RateError", Quantity::DescentRate, PartOf(descent, &DescentRate::error)),
        Column(label + " from", key + "From", Quantity::Time, PartOf(descent, &DescentRate::fromS)),
        Column(label + " to", key + "To", Quantity::Time, PartOf(descent, &DescentRate::toS))};
  }

  // When a line first fired and its altitude there.
  std::vector<StatsColumn> Firing(const std::string& label, const std::string& key,
                                  std::optional<LineFiring> FlightStats::*firing) const {
    return {Column(label, key, Quantity::Time, PartOf(firing, &LineFiring::timeS)),
            Column(label + " altitude", key + "Altitude", Quantity::Altitude, PartOf(firing, &LineFiring::altitude))};
  }

 private:
  UnitSystem units_;
};

void Append(std::vector<StatsColumn>& columns, const std::vector<StatsColumn>& more) {
  columns.insert(columns.end(), more.begin(), more.end());
}

}  // namespace

std::vector<StatsColumn> StatsColumns(UnitSystem units) {
  const QuantityColumns q(units);
  std::vector<StatsColumn> columns{
      TextColumn("file", [](const FlightRecord& r) { return r.file; }),
      CountColumn("set", [](const FlightRecord& r) { return r.set; }),
      TextColumn("comment", [](const FlightRecord& r) { return r.comment; }),
      CountColumn("samples", [](const FlightRecord& r) { return static_cast<int>(r.stats.samples); }),
      q.Column("duration", "duration", Quantity::Time, [](const FlightStats& s) { return std::optional(s.durationS); }),
  };
  Append(columns, q.Fitted("launch", "launch", Quantity::Time, &FlightStats::launchS, &ClimbErrors::launchS));
  Append(columns, q.Fitted("burn-out", "burnOut", Quantity::Time, &FlightStats::burnOutS, &ClimbErrors::burnOutS));
  Append(columns, q.Fitted("top speed", "topSpeed", Quantity::Speed, &FlightStats::topSpeed, &ClimbErrors::topSpeed));
  columns.push_back(q.Column("top speed", "topSpeed", Quantity::FastSpeed, ValueOf(&FlightStats::topSpeed)));
  Append(columns, q.Fitted("acceleration", "acceleration", Quantity::Acceleration, &FlightStats::acceleration,
                           &ClimbErrors::acceleration));
  columns.push_back(
      q.Column("acceleration", "acceleration", Quantity::GForce, ValueOf(&FlightStats::acceleration)));
  Append(columns, q.Fitted("apogee", "apogee", Quantity::Altitude, &FlightStats::apogee, &ClimbErrors::apogee));
  columns.push_back(FlagColumn("apogee at least", "apogeeAtLeast", &FlightStats::apogeeAtLeast));
  Append(columns,
         q.Fitted("apogee time", "apogeeTime", Quantity::Time, &FlightStats::apogeeS, &ClimbErrors::apogeeS));
  Append(columns, q.Firing("line A", "lineA", &FlightStats::lineA));
  Append(columns, q.Firing("line B", "lineB", &FlightStats::lineB));
  Append(columns, q.Descent("descent", "descent", &FlightStats::descent));
  Append(columns, q.Descent("final descent", "finalDescent", &FlightStats::finalDescent));
  columns.push_back(q.Column("landing", "landing", Quantity::Time, ValueOf(&FlightStats::landingS)));
  columns.push_back(
      q.Column("flight time", "flightTime", Quantity::Time, [](const FlightStats& s) { return s.FlightTimeS(); }));
  columns.push_back(NotesColumn());
  return columns;
}
