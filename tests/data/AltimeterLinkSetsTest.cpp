#include <gtest/gtest.h>

#include "data/PacketFixtures.h"
#include "data/SensorConverter.h"
#include "device/AltimeterLink.h"
#include "support/LogCapture.h"

namespace {

class NoDevices : public HidBackend {
 public:
  bool GetInterfacePath(int, std::wstring&) override { return false; }
  bool GetAttributes(const std::wstring&, HidAttributes&) override { return false; }
  HidOpenResult Open(const std::wstring&) override { return {}; }
};

TEST(AltimeterLinkSets, SelectBuildsWithTheSettingsOffsetAndFramesTheSet) {
  const LogCapture log;
  NoDevices backend;
  AltimeterLink link(backend);
  EXPECT_EQ("", log.Text());  // defaults are made quietly
  EXPECT_EQ(0x043B, link.settings.StoredChecksum());

  std::vector<uint16_t> climb;
  for (int i = 0; i < 25; ++i) climb.push_back(SampleWord(836 - i));
  link.packets = {MakePacket(kStartPacketKind, {SampleWord(500)}), MakePacket(kStartPacketKind, climb)};
  link.settings.adcOffset = 3;
  EXPECT_FALSE(link.SelectDataSet(-1));
  EXPECT_EQ(100, link.viewRange.Width);
  ASSERT_TRUE(link.SelectDataSet(1));
  ASSERT_EQ(25, link.currentSet.SampleCount());
  SensorConverter converter;
  converter.SetOffset(3);
  EXPECT_DOUBLE_EQ(converter.Altitude(836), link.currentSet.altitudeMsl[0]);
  EXPECT_EQ(2, link.viewRange.Width);
  EXPECT_GT(link.viewRange.Height, 0);

  EXPECT_FALSE(link.ComputeDataSet(-1));
  EXPECT_EQ(1, link.currentSet.setNumber);
  EXPECT_TRUE(link.SelectDataSet(5));  // no such set
  EXPECT_TRUE(link.currentSet.IsEmpty());
  EXPECT_EQ(5, link.currentSet.setNumber);
  EXPECT_EQ(0, link.viewRange.Height);
}

}  // namespace
