// One instance per title, user and display: a listening window is found, a second cannot take its
// title, a left-over socket file is taken over, and a request to come forward arrives.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include "host/single_instance.h"
#include "host_test_support.h"

namespace qsrn {
namespace {

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override { host_test::EnsureQtApplication(); }
  host_test::TempHome home;
  const QString title = QStringLiteral("QSRN:Test Title");
};

TEST_F(SingleInstanceTest, SocketsArePrivateToTheRuntimeFolderAndOneDisplay) {
  const QByteArray wayland = qgetenv("WAYLAND_DISPLAY"), display = qgetenv("DISPLAY");
  qunsetenv("WAYLAND_DISPLAY");
  qputenv("DISPLAY", ":5.1");
  EXPECT_EQ(InstanceSocketPath(title), qEnvironmentVariable("XDG_RUNTIME_DIR") + "/" + title + "@:5");
  qputenv("DISPLAY", "host:6");
  EXPECT_TRUE(InstanceSocketPath(title).endsWith("@host:6"));
  qputenv("WAYLAND_DISPLAY", "wayland-1");
  EXPECT_TRUE(InstanceSocketPath(title).endsWith("@wayland-1"));
  qputenv("WAYLAND_DISPLAY", wayland);
  qputenv("DISPLAY", display);
}

TEST_F(SingleInstanceTest, AListeningWindowKeepsItsTitleALeftOverSocketFileIsTakenOver) {
  InstanceServer first, second;
  ASSERT_TRUE(first.Listen(title));
  EXPECT_TRUE(WindowExists(title));
  EXPECT_FALSE(WindowExists(QStringLiteral("Another")));
  EXPECT_FALSE(second.Listen(title));
  first.Close();
  QFile stale(InstanceSocketPath(title));
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();
  EXPECT_FALSE(WindowExists(title));
  EXPECT_TRUE(second.Listen(title));
  EXPECT_TRUE(WindowExists(title));
}

TEST_F(SingleInstanceTest, ARequestToComeForwardReachesTheRunningWindow) {
  EXPECT_FALSE(BringForward(title));
  InstanceServer server;
  ASSERT_TRUE(server.Listen(title));
  int requests = 0;
  QObject::connect(&server, &InstanceServer::bringForwardRequested, [&requests] { ++requests; });
  EXPECT_TRUE(BringForward(title));
  QElapsedTimer waited;
  waited.start();
  while (requests == 0 && waited.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(requests, 1);
}

}  // namespace
}  // namespace qsrn
