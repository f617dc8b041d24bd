// The gadget's transport with a SOCK_SEQPACKET socket standing in for
// /dev/hidgN: like the node, it keeps each report whole and leaves out its ID.
#include "sim/linux/HidgTransport.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <future>

#include "device/DeviceCode.h"
#include "sim/SimAltimeter.h"
#include "sim/SimBootloader.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kBatteryRead = {0x00, 0x00, CodeByte(DeviceCode::ReadBattery)};
const Bytes kBatteryReply = {90, 0x00, CodeByte(DeviceCode::Data)};
const Bytes kCompletion = {0x00, 0x00, CodeByte(DeviceCode::Complete)};

class HidgTransportTest : public ::testing::Test {
 protected:
  // The transport serves `model` on one end of a socket pair; the host holds the other.
  void Serve(std::shared_ptr<SimDeviceModel> model) {
    transport.reset();
    int ends[2];
    ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, ends));
    host = UniqueFd(ends[0]);
    transport = std::make_unique<HidgTransport>(UniqueFd(ends[1]), std::move(model));
  }

  void Write(const Bytes& report) const {
    ASSERT_EQ(static_cast<ssize_t>(report.size()), write(host.Get(), report.data(), report.size()));
  }

  // The next report within `timeoutMs`; empty when none came.
  Bytes Read(int timeoutMs = 2000) const {
    pollfd readable = {host.Get(), POLLIN, 0};
    if (poll(&readable, 1, timeoutMs) != 1) return {};
    Bytes report(1024);
    const ssize_t received = read(host.Get(), report.data(), report.size());
    report.resize(received < 0 ? 0 : static_cast<size_t>(received));
    return report;
  }

  UniqueFd host;
  std::unique_ptr<HidgTransport> transport;  // after `host`: stops before the host's end closes
};

TEST_F(HidgTransportTest, ReportsTravelWithoutTheirIdAndTheModelSeesThemWithIt) {
  Serve(std::make_shared<SimAltimeter>());
  Write(kBatteryRead);
  EXPECT_EQ(kBatteryReply, Read());
  EXPECT_EQ(kCompletion, Read());
  EXPECT_EQ(1, transport->ReportsFromHost());
  EXPECT_EQ(2, transport->ReportsToHost());

  Serve(std::make_shared<SimBootloader>(0x0121));
  Bytes query(kBootloaderReportLength - 1, 0x00);
  query[0] = kHardwareQueryCode;
  Write(query);
  Bytes answer(kBootloaderReportLength - 1, 0x00);
  answer[0] = 0x21;
  answer[1] = 0x01;
  EXPECT_EQ(answer, Read());
}

TEST_F(HidgTransportTest, PacedRepliesTakeAFrameEach) {
  Serve(std::make_shared<SimAltimeter>());
  transport->SetReportIntervalMs(1);
  const auto start = std::chrono::steady_clock::now();
  Write({0x00, 0x00, CodeByte(DeviceCode::ReadSettings)});
  const int replies = DeviceSettings::kImageSize + 1;
  for (int reply = 0; reply < replies; ++reply) ASSERT_FALSE(Read().empty()) << reply;
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(replies));
}

TEST_F(HidgTransportTest, SilenceAndPullOutStopTheReplies) {
  Serve(std::make_shared<SimAltimeter>());
  transport->SetSilent(true);
  Write(kBatteryRead);
  EXPECT_EQ(Bytes(), Read(100));
  transport->SetSilent(false);
  Write(kBatteryRead);
  EXPECT_EQ(kBatteryReply, Read());
  EXPECT_EQ(kCompletion, Read());

  std::promise<void> pulledOut;
  transport->PullOutAtTransfer(2, [&pulledOut] { pulledOut.set_value(); });  // the read, one reply, then out
  Write(kBatteryRead);
  EXPECT_EQ(kBatteryReply, Read());
  ASSERT_EQ(std::future_status::ready, pulledOut.get_future().wait_for(std::chrono::seconds(2)));
  EXPECT_TRUE(transport->PulledOut());
  EXPECT_EQ(Bytes(), Read(100));
}

}  // namespace
