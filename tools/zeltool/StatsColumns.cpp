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
  return {name, name, [text](const FlightRecord& record) { return StatsCell{StatsCell::Kind::Text, text(record)}; }};
}

StatsColumn CountColumn(const std::string& name, int (*count)(const FlightRecord&)) {
  return {name, name, [count](const FlightRecord& record) {
            return StatsCell{StatsCell::Kind::Number, std::to_string(count(record))};
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
              return StatsCell{StatsCell::Kind::Number, QuantityText(*si, quantity, units)};
            }};
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
      q.Column("launch", "launch", Quantity::Time, ValueOf(&FlightStats::launchS)),
      q.Column("burn-out", "burnOut", Quantity::Time, ValueOf(&FlightStats::burnOutS)),
      q.Column("top speed", "topSpeed", Quantity::Speed, ValueOf(&FlightStats::topSpeed)),
      q.Column("top speed", "topSpeed", Quantity::FastSpeed, ValueOf(&FlightStats::topSpeed)),
      q.Column("acceleration", "acceleration", Quantity::Acceleration, ValueOf(&FlightStats::acceleration)),
      q.Column("acceleration", "acceleration", Quantity::GForce, ValueOf(&FlightStats::acceleration)),
      q.Column("apogee", "apogee", Quantity::Altitude, ValueOf(&FlightStats::apogee)),
      q.Column("apogee time", "apogeeTime", Quantity::Time, ValueOf(&FlightStats::apogeeS)),
  };
  Append(columns, q.Firing("line A", "lineA", &FlightStats::lineA));
  Append(columns, q.Firing("line B", "lineB", &FlightStats::lineB));
  Append(columns, q.Descent("descent", "descent", &FlightStats::descent));
  Append(columns, q.Descent("final descent", "finalDescent", &FlightStats::finalDescent));
  columns.push_back(q.Column("landing", "landing", Quantity::Time, ValueOf(&FlightStats::landingS)));
  columns.push_back(
      q.Column("flight time", "flightTime", Quantity::Time, [](const FlightStats& s) { return s.FlightTimeS(); }));
  return columns;
}
