#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/serial/PtyPair.h"
#include "platform/serial/SerialDiscovery.h"
#include "platform/serial/SerialPort.h"
#include "platform/serial/SerialSettings.h"

using namespace platform::serial;
namespace fs = std::filesystem;

TEST(SerialSettings, ParsesTheLinkSettingsAndRefusesNonsense) {
  SerialSettings s;
  ASSERT_TRUE(ParseSerialSettings("19200,n,8,1", s));
  EXPECT_EQ(s.baud, 19200);
  EXPECT_EQ(s.parity, 'n');
  EXPECT_EQ(s.dataBits, 8);
  EXPECT_EQ(s.stopBits, 1);
  ASSERT_TRUE(ParseSerialSettings(" 9600 , E , 7 , 2 ", s));
  EXPECT_EQ(s.parity, 'e');
  EXPECT_EQ(FormatSerialSettings(s), "9600,e,7,2");

  std::string error;
  for (const char* bad : {"", "19200,n,8", "19200,x,8,1", "fast,n,8,1", "19200,n,9,1", "19200,n,8,3", "19200,n,8,1,1",
                          "-5,n,8,1", "19200,no,8,1"}) {
    SerialSettings kept;
    kept.baud = 1234;
    EXPECT_FALSE(ParseSerialSettings(bad, kept, &error)) << bad;
    EXPECT_EQ(kept.baud, 1234) << "settings must stay untouched: " << bad;
    EXPECT_FALSE(error.empty());
  }
}

TEST(SerialPort, RawModePassesEveryByteUnchangedBothWays) {
  PtyPair pty;
  ASSERT_TRUE(pty.Open()) << pty.LastError();
  SerialPort port;
  SerialSettings settings;
  ASSERT_TRUE(port.Open(pty.SlavePath(), settings)) << port.LastError();

  // XON/XOFF, CR/LF, DEL, ^C and high bytes are data of the controller protocol.
  std::vector<unsigned char> all(256);
  for (int i = 0; i < 256; ++i) all[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
  ASSERT_TRUE(port.Write(all.data(), all.size()));
  std::vector<unsigned char> got;
  while (got.size() < all.size()) {
    unsigned char buf[512];
    ssize_t n = ::read(pty.MasterFd(), buf, sizeof buf);
    ASSERT_GT(n, 0);
    got.insert(got.end(), buf, buf + n);
  }
  EXPECT_EQ(got, all);

  ASSERT_EQ(::write(pty.MasterFd(), all.data(), all.size()), 256);
  got.clear();
  while (got.size() < all.size()) {
    unsigned char buf[512];
    long n = port.Read(buf, sizeof buf, 1000);
    ASSERT_GT(n, 0) << "no echo expected and nothing lost";
    got.insert(got.end(), buf, buf + n);
  }
  EXPECT_EQ(got, all);
  unsigned char extra;
  EXPECT_EQ(port.Read(&extra, 1, 50), 0) << "nothing echoed back";
}

TEST(SerialPort, ReadTimesOutWakesAndRefusesASecondOpener) {
  PtyPair pty;
  ASSERT_TRUE(pty.Open());
  SerialPort port;
  ASSERT_TRUE(port.Open(pty.SlavePath(), {}));
  unsigned char b;
  EXPECT_EQ(port.Read(&b, 1, 20), 0);
  port.Wake();
  EXPECT_EQ(port.Read(&b, 1, 5000), 0) << "a wake returns at once";

  SerialPort second;
  EXPECT_FALSE(second.Open(pty.SlavePath(), {}));
  EXPECT_NE(second.LastError().find("in use"), std::string::npos);
  EXPECT_FALSE(ProbeSerialDevice(pty.SlavePath()));
  port.Close();
  EXPECT_TRUE(ProbeSerialDevice(pty.SlavePath()));
  EXPECT_EQ(port.Read(&b, 1, 10), -1);
  EXPECT_FALSE(port.Write("x", 1));

  EXPECT_FALSE(second.Open("/nonexistent/tty", {}));
  EXPECT_FALSE(second.LastError().empty());
  SerialSettings odd;
  odd.baud = 12345;
  EXPECT_FALSE(second.Open(pty.SlavePath(), odd)) << "a speed the line cannot run";
}

TEST(PtyPair, LinkNamesTheSlaveAndGoesWithThePair) {
  const std::string link = (fs::temp_directory_path() / ("vendrik-pty-" + std::to_string(::getpid()))).string();
  {
    PtyPair pty;
    ASSERT_TRUE(pty.Open(link)) << pty.LastError();
    EXPECT_EQ(fs::read_symlink(link).string(), pty.SlavePath());
    EXPECT_EQ(pty.DevicePath(), link);
    SerialPort port;
    EXPECT_TRUE(port.Open(link, {}));
  }
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

class SysfsDiscovery : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("vendrik-sysfs-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "class/tty");
    fs::create_directories(root_ / "bus/usb-serial/drivers");
  }
  void TearDown() override { fs::remove_all(root_); }
  void AddTty(const std::string& name, const std::string& driver) {
    fs::path dev = root_ / "devices" / name;
    fs::create_directories(dev);
    fs::path tty = root_ / "class/tty" / name;
    fs::create_directories(tty);
    if (!driver.empty()) {
      fs::create_directories(root_ / "bus/usb-serial/drivers" / driver);
      fs::create_directory_symlink(dev, tty / "device");
      fs::create_directory_symlink(root_ / "bus/usb-serial/drivers" / driver, dev / "driver");
    }
  }
  fs::path root_;
};

TEST_F(SysfsDiscovery, FindsOnlyTheBoardsAdaptersInPortOrder) {
  AddTty("ttyUSB3", "pl2303");
  AddTty("ttyUSB0", "ch341-uart");
  AddTty("ttyUSB1", "ftdi_sio");  // not an adapter the board ships with
  AddTty("ttyS0", "serial8250");
  AddTty("ttyUSB2", "");          // no driver bound
  AddTty("ttyUSBx", "ch341-uart");
  SysfsSerialDiscovery discovery((root_ / "class/tty").string(), "/devx");
  auto found = discovery.Find();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].number, 1);
  EXPECT_EQ(found[0].path, "/devx/ttyUSB0");
  EXPECT_EQ(found[1].number, 4);
  EXPECT_EQ(found[1].path, "/devx/ttyUSB3");

  SysfsSerialDiscovery missing((root_ / "nothing").string());
  EXPECT_TRUE(missing.Find().empty());
}

TEST(SerialDiscovery, ConfiguredDeviceWinsAsPortOne) {
  ::setenv("VENDRIK_SERIAL_DEVICE", "/tmp/some-board", 1);
  auto found = MakeDefaultSerialDiscovery()->Find();
  ::unsetenv("VENDRIK_SERIAL_DEVICE");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].number, 1);
  EXPECT_EQ(found[0].path, "/tmp/some-board");
}
