#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "data/SensorConverter.h"
#include "sim/FlightMemory.h"
#include "sim/PressureSensor.h"
#include "support/LogCapture.h"

namespace {

TEST(PressureSensorTest, SteadyReadingIsTheProgramsInverseConversion) {
  const SensorConverter converter;
  for (const double altitude : {-200.0, 0.0, 100.0, 437.5, 1000.0, 3000.0}) {
    PressureSensor sensor;
    EXPECT_EQ(sensor.Read(altitude), converter.AdcForAltitude(altitude)) << altitude;
    const double count = PressureSensor::IdealCount(altitude);
    EXPECT_NEAR(converter.Altitude(count), altitude, 0.01) << altitude;
  }
  EXPECT_EQ(PressureSensor(0.0, -3).Read(0.0), 833);
  EXPECT_EQ(PressureSensor().Read(60000.0), 0) << "beyond the atmosphere the ADC bottoms out";
}

TEST(PressureSensorTest, NoiseHasTheAskedSpreadAndRepeatsWithItsSeed) {
  PressureSensor sensor(0.5, 0, 7);
  PressureSensor same(0.5, 0, 7);
  const double ideal = PressureSensor::IdealCount(250.0);
  double sum = 0.0;
  double squares = 0.0;
  constexpr int kReads = 4000;
  for (int i = 0; i < kReads; ++i) {
    const int32_t count = sensor.Read(250.0);
    ASSERT_EQ(count, same.Read(250.0));
    const double error = count + 0.5 - ideal;  // a quantised count stands for the middle of its step
    sum += error;
    squares += error * error;
  }
  EXPECT_NEAR(sum / kReads, 0.0, 0.05);
  EXPECT_NEAR(std::sqrt(squares / kReads), std::sqrt(0.25 + 1.0 / 12.0), 0.05) << "noise and quantising";
}

TEST(FlightRulesTest, ImageAndFieldsGiveTheSameRules) {
  const LogCapture log;
  DeviceSettings settings;
  settings.lineAMode = LineMode::Time;
  settings.lineAValue = 45;
  settings.lineBMode = LineMode::Disabled;
  settings.inhibitTime = 33;
  settings.adcOffset = -12;
  settings.maxReadings = 500;
  settings.Build();
  const FlightRules fromImage = FlightRules::FromImage(settings.image);
  const FlightRules fromFields = FlightRules::Of(settings);
  EXPECT_EQ(fromImage.lineAMode, LineMode::Time);
  EXPECT_EQ(fromImage.lineAValue, fromFields.lineAValue);
  EXPECT_EQ(fromImage.lineBMode, fromFields.lineBMode);
  EXPECT_EQ(fromImage.inhibitTime, 33);
  EXPECT_EQ(fromImage.adcOffset, -12);
  EXPECT_EQ(fromImage.maxReadings, fromFields.maxReadings);
}

int FirstSampleWithFlag(const RecordedFlight& flight, uint16_t flagBit) {
  for (size_t i = 0; i < flight.words.size(); ++i) {
    if (flight.words[i] & flagBit) return static_cast<int>(i);
  }
  return -1;
}

TEST(FlightModelTest, LinesFireWhereTheirModesSay) {
  struct Case {
    LineMode mode;
    uint16_t value;
  };
  const SensorConverter converter;
  for (const Case& c : {Case{LineMode::Apogee, 0}, Case{LineMode::Altitude, 150}, Case{LineMode::Altitude, 600},
                        Case{LineMode::Time, 35}, Case{LineMode::Time, 5}, Case{LineMode::Disabled, 0}}) {
    SCOPED_TRACE(static_cast<int>(c.mode) * 1000 + c.value);
    FlightParameters parameters;
    parameters.rules.lineAMode = c.mode;
    parameters.rules.lineAValue = c.value;
    const RecordedFlight flight = RecordFlight(parameters);
    ASSERT_GT(flight.apogeeSample, flight.launchSample);
    EXPECT_EQ(FirstSampleWithFlag(flight, 0x8000), flight.lineASample);
    switch (c.mode) {
      case LineMode::Apogee:
        EXPECT_EQ(flight.lineASample, flight.apogeeSample);
        break;
      case LineMode::Altitude: {
        const int at = std::max(flight.lineASample, flight.apogeeSample);
        EXPECT_EQ(flight.lineASample, at) << "not before apogee";
        const double height = converter.Altitude(SampleAdc(flight.words[at])) - parameters.groundAltitudeM;
        EXPECT_LT(height, c.value + 20.0);
        break;
      }
      case LineMode::Time:
        // Not before the inhibit time (2 s).
        EXPECT_EQ(flight.lineASample, flight.launchSample + std::max<int>(c.value, 20));
        break;
      default:
        EXPECT_EQ(flight.lineASample, -1);
    }
    if (flight.lineASample >= 0) {
      for (int i = 0; i < 10; ++i) EXPECT_TRUE(flight.words[flight.lineASample + i] & 0x8000) << "driven for 1 s";
      EXPECT_FALSE(flight.words[flight.lineASample + 10] & 0x8000);
    }
  }
}

TEST(FlightModelTest, RecordingIsASetOfPacketsThatRepeatsWithItsSeed) {
  FlightParameters parameters;
  const RecordedFlight flight = RecordFlight(parameters);
  EXPECT_EQ(flight.launchSample, 20) << "2 s before the launch was detected";
  EXPECT_NEAR(flight.apogeeMetres, 300.0, 30.0);
  EXPECT_GT(flight.landingSample, flight.apogeeSample);
  EXPECT_EQ(flight.words.size(), static_cast<size_t>(flight.landingSample + 31));
  ASSERT_EQ(flight.packets.size(), (flight.words.size() + 30) / 31);
  EXPECT_EQ(flight.packets.front().kind, kStartPacketKind);
  for (size_t p = 1; p < flight.packets.size(); ++p) EXPECT_EQ(flight.packets[p].kind, 1);
  const DataPacket& last = flight.packets.back();
  EXPECT_EQ(last.Word(static_cast<int>((flight.words.size() - 1) % 31)), flight.words.back());
  EXPECT_EQ(last.Word(30), flight.words.size() % 31 == 0 ? flight.words.back() : kNoSample);

  EXPECT_EQ(RecordFlight(parameters).words, flight.words);
  parameters.seed = 2;
  EXPECT_NE(RecordFlight(parameters).words, flight.words);
  parameters.rules.maxReadings = 100;
  EXPECT_EQ(RecordFlight(parameters).words.size(), 100u);
  parameters.thrustN = 2.0;  // less than the rocket's weight
  EXPECT_TRUE(RecordFlight(parameters).packets.empty());
}

TEST(FlightMemoryTest, SetsAreLaidOneAfterAnotherAndCutAtTheEnd) {
  const std::vector<DataPacket> set = PacketsOfSet(std::vector<uint16_t>(31 * 50, 0x3400));
  const FlightMemory memory = LayOutMemory({set, set, set});
  EXPECT_EQ(UsedBlocks(memory), kMemoryBlocks);
  for (const int start : {0, 50, 100}) EXPECT_TRUE(memory[start].IsStart()) << start;
  EXPECT_EQ(UsedBlocks(LayOutMemory({set})), 50);
  EXPECT_EQ(UsedBlocks(ErasedMemory()), 0);

  struct Preset {
    MemoryPreset preset;
    int sets;
  };
  for (const Preset p : {Preset{MemoryPreset::Empty, 0}, Preset{MemoryPreset::OneFlight, 1},
                         Preset{MemoryPreset::SeveralFlights, 3}, Preset{MemoryPreset::Full, 5}}) {
    const FlightMemory preset = PresetMemory(p.preset);
    const auto starts = std::count_if(preset.begin(), preset.end(), [](const DataPacket& b) { return b.IsStart(); });
    EXPECT_EQ(starts, p.sets);
  }
  EXPECT_EQ(UsedBlocks(PresetMemory(MemoryPreset::Full)), kMemoryBlocks);
}

}  // namespace
