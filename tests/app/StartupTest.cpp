// Start-up in order, its failures and exit codes, and one instance per user.
#include <QLocalServer>
#include <QMessageBox>
#include <QProcess>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "AppHarness.h"
#include "app/SingleInstance.h"
#include "app/WinMain.h"

namespace ab::testing {
namespace {

namespace fs = std::filesystem;

// Each box the start shows as "caption: text", answered with `answer`; the main
// window is closed once the loop runs.
std::vector<std::string> RunStart(const std::string& folder, const QString& bundle, QMessageBox::StandardButton answer) {
  static int instances = 0;
  std::vector<std::string> boxes;
  QObject running;  // ends the answering and the closing with the start
  std::function<void()> arm = [&] {
    AnswerModal<QMessageBox>([&](QMessageBox* box) {
      boxes.push_back(box->windowTitle().toStdString() + ": " + box->text().toStdString());
      box->done(answer);
      arm();
    }, &running);
  };
  arm();
  // Polls rather than waits a fixed time: on a slow machine the window may be up late.
  QTimer closer;
  closer.callOnTimeout([] {
    // Closing it deletes other top-level widgets: the list is not used after.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() != QLatin1String("AddressBookWClass") || !widget->isVisible()) continue;
      widget->close();
      return;
    }
  });
  closer.start(100);
  const QString name = QStringLiteral("abtest-%1-%2").arg(::getpid()).arg(++instances);
  EXPECT_EQ(WinMain({QString::fromStdString(folder), {}, ProgramLayout::Portable, bundle, name, {}, false, {}}), 0);
  return boxes;
}

TEST(Startup, LoadsTheCardsAndTellsWhatFailedInOrder) {
  struct Case {  // cards -1: a file in place of the card folder; boxes: how each box starts
    QString bundle;
    int cards;
    QMessageBox::StandardButton answer;
    std::vector<std::string> boxes;
    bool cardFolder;
  };
  const Case cases[] = {
      {QStringLiteral("/nonexistent/OSTREL_RC.dll"), 0, QMessageBox::Ok,
       {"ERROR: Can't not load OSTREL_RC.dll", ": Address Book open failed!"}, true},
      {test::ProductBundle(), -1, QMessageBox::No, {"Address Book: A file named \"VCardData\""}, false},
      {test::ProductBundle(), -1, QMessageBox::Yes, {"Address Book: A file named \"VCardData\""}, true},
      {test::ProductBundle(), 259, QMessageBox::Ok, {"Address Book: 3 card files"}, true},
      {test::ProductBundle(), 0, QMessageBox::Ok, {}, true},  // a first start: no cards yet
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cards);
    TempFolder program;
    if (c.cards < 0) program.Write("VCardData", "my notes");
    if (c.cards > 0) fs::create_directory(program.File("VCardData"));
    for (int i = 0; i < c.cards; ++i) program.Write("VCardData/" + std::to_string(i) + ".vcf", CardText({i ? "Zed" : "Amy"}));
    const std::vector<std::string> boxes = RunStart(program.path(), c.bundle, c.answer);
    ASSERT_EQ(boxes.size(), c.boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(boxes[i].substr(0, c.boxes[i].size()), c.boxes[i]);
    EXPECT_EQ(fs::is_directory(program.File("VCardData")), c.cardFolder);
    EXPECT_EQ(c.cardFolder || TempFolder::Read(program.File("VCardData")) == "my notes", true);
    EXPECT_TRUE(resourceLibrary == nullptr && listWindow == nullptr && !currentRecord);
    FreeResourceLibrary();
  }
}

// Every socket of these tests lives in a private folder, and a copy of the program beside its library.
class SingleInstanceTest : public ::testing::Test {
 protected:
  SingleInstanceTest() {
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(sockets_.path()));
    qputenv("TMPDIR", QByteArray::fromStdString(sockets_.path()));
    fs::copy_file(AB_PRODUCT_BUNDLE, program_.File("OSTREL_RC.dll"));
    fs::copy_file(AB_PROGRAM, program_.File("addressbook"));
  }
  ~SingleInstanceTest() override { qunsetenv("TMPDIR"); }

  std::unique_ptr<QProcess> Start(const QStringList& arguments, const char* display = "") const {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(sockets_.path()));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), QString::fromStdString(sockets_.path()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (display == nullptr || *display != '\0') {
      for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(QLatin1String(name));
      if (display != nullptr) env.insert(QStringLiteral("DISPLAY"), QLatin1String(display));
    }
    process->setProcessEnvironment(env);
    process->setWorkingDirectory(QString::fromStdString(program_.path()));
    process->start(QString::fromStdString(program_.File("addressbook")), arguments);
    EXPECT_TRUE(process->waitForStarted());
    return process;
  }
  static std::string SocketPath() { return InstanceNameForUser().toStdString(); }

  TempFolder sockets_;
  TempFolder program_;
};

// As a file manager's "open with" starts it: the files, relative to its folder.
TEST_F(SingleInstanceTest, ASecondStartHandsItsFilesToTheFirstAndEnds) {
  SingleInstance first(InstanceNameForUser());
  ASSERT_FALSE(first.HandOverToRunning());
  int requests = 0;
  QStringList opened;
  first.onRaiseRequest = [&requests] { ++requests; };
  first.onOpenFiles = [&opened](const QStringList& files) { opened = files; };
  const auto second = Start({QStringLiteral("friends.vcf"), QStringLiteral("/tmp/export.csv")});
  EXPECT_TRUE(QTest::qWaitFor([&] { return second->state() == QProcess::NotRunning && requests > 0; }, 5000));
  EXPECT_EQ(second->exitStatus() + second->exitCode() + requests, 1);
  EXPECT_EQ(opened, (QStringList{QString::fromStdString(program_.File("friends.vcf")), QStringLiteral("/tmp/export.csv")}));
  EXPECT_FALSE(fs::exists(program_.File("VCardData")));  // nothing was loaded by the second start

  QWidget window;
  window.showMinimized();
  RaiseMainWindow(&window);
  EXPECT_FALSE(window.isMinimized());
  RaiseMainWindow(nullptr);  // no window yet: nothing happens
}

// Without a display the program says so and ends with 1 before it makes a card folder.
TEST_F(SingleInstanceTest, NoDisplayFails) {
  // ":99" names a display that nobody serves: Qt itself would abort there.
  for (const auto& [display, message] : {std::pair{(const char*)nullptr, "no display"}, {":99", "cannot open the display \":99\""}}) {
    const auto program = Start({}, display);
    ASSERT_TRUE(program->waitForFinished(20000));
    EXPECT_EQ(program->exitStatus() + program->exitCode(), 1);
    EXPECT_TRUE(program->readAllStandardError().contains(message));
    EXPECT_FALSE(fs::exists(program_.File("VCardData")));
  }
}

// A crashed instance's socket is replaced; another user's folder or socket is neither used nor replaced.
TEST_F(SingleInstanceTest, TheSocketIsTheUsersOwn) {
  EXPECT_EQ(SocketPath(), sockets_.File("AddressBookWClass"));
  sockaddr_un address{AF_UNIX, {}};
  const std::string path = SocketPath();
  std::copy(path.begin(), path.end(), address.sun_path);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ::close(fd);  // bound, never listening, never removed
  {
    SingleInstance instance(InstanceNameForUser());
    EXPECT_TRUE(!instance.HandOverToRunning() && instance.listening());
  }
  const std::string fallback = sockets_.File("addressbook-" + std::to_string(::getuid()));
  ::chmod(sockets_.path().c_str(), 0755);  // a runtime folder others may enter is not used
  EXPECT_EQ(SocketPath(), fallback + "/AddressBookWClass");
  struct stat info {};
  EXPECT_TRUE(::lstat(fallback.c_str(), &info) == 0 && (info.st_mode & 0777) == 0700);
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a folder or socket to another user";
  QLocalServer stranger;
  ASSERT_TRUE(stranger.listen(InstanceNameForUser()));
  ASSERT_EQ(::chown(SocketPath().c_str(), 65534, 65534), 0);
  for (int round = 0; round < 2; ++round) {
    SingleInstance instance(InstanceNameForUser());
    EXPECT_TRUE(!instance.HandOverToRunning() && !instance.listening());
    EXPECT_TRUE(fs::exists(fallback + "/AddressBookWClass"));
    ASSERT_EQ(::chown(fallback.c_str(), 65534, 65534), 0);  // then the folder
  }
  EXPECT_EQ(SocketPath(), "");
  QTest::qWait(50);
  EXPECT_FALSE(stranger.hasPendingConnections());
}

}  // namespace
}  // namespace ab::testing
