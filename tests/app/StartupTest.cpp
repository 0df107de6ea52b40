// Start-up in order, its failures and exit codes, and one instance per user.
#include <QDir>
#include <QMessageBox>
#include <QProcess>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "AppHarness.h"
#include "support/DialogAnswers.h"
#include "resources/MessageBoxes.h"
#include "app/SingleInstance.h"
#include "app/WinMain.h"

namespace ab::testing {
namespace {

namespace fs = std::filesystem;

struct Box {
  QString caption;
  QString text;
};

// Answers every message box with `button` and records it, until the test ends.
class BoxRecorder {
 public:
  explicit BoxRecorder(QMessageBox::StandardButton button) : button_(button) { Arm(); }
  ~BoxRecorder() { alive_.reset(); }
  const std::vector<Box>& boxes() const { return boxes_; }

 private:
  void Arm() {
    AnswerModal<QMessageBox>(
        [this, guard = std::weak_ptr<int>(alive_)](QMessageBox* box) {
          if (guard.expired()) return;
          boxes_.push_back({box->windowTitle(), box->text()});
          box->done(button_);
          Arm();
        },
        qApp, 1000000);
  }
  QMessageBox::StandardButton button_;
  std::vector<Box> boxes_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// An environment variable set for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QByteArray& value) : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    qputenv(name, value);
  }
  ~ScopedEnv() {
    if (had_) qputenv(name_, old_); else qunsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

QString UniqueInstanceName() {
  static int counter = 0;
  return QStringLiteral("abtest-%1-%2").arg(::getpid()).arg(++counter);
}

class StartupTest : public ::testing::Test {
 protected:
  void TearDown() override {
    FreeResourceLibrary();
    contactCount = 0;
    currentRow = -1;
  }

  StartOptions Options(const QString& bundle) const {
    StartOptions options;
    options.programFolder = QString::fromStdString(folder_.path());
    options.resourceLibraryPath = bundle;
    options.instanceName = UniqueInstanceName();
    return options;
  }

  // Closes the main window once the loop runs.
  static void CloseMainWindowSoon() {
    QTimer::singleShot(50, qApp, [] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("AddressBookWClass")) widget->close();
      }
    });
  }

  TempFolder folder_;
};

TEST_F(StartupTest, WithoutTheResourceLibraryTwoMessagesThenTheEnd) {
  BoxRecorder recorder(QMessageBox::Ok);
  EXPECT_EQ(WinMain(Options(QString::fromStdString(folder_.File("OSTREL_RC.dll")))), 0);
  ASSERT_EQ(recorder.boxes().size(), 2u);
  EXPECT_EQ(recorder.boxes()[0].caption, QStringLiteral("ERROR"));
  EXPECT_EQ(recorder.boxes()[0].text, QStringLiteral("Can't not load OSTREL_RC.dll"));
  EXPECT_EQ(recorder.boxes()[1].text, QStringLiteral("Address Book open failed!"));
  EXPECT_EQ(listWindow, nullptr);
}

TEST_F(StartupTest, ALibraryWithoutTheRowIconCannotBuildTheList) {
  BoxRecorder recorder(QMessageBox::Ok);
  EXPECT_EQ(WinMain(Options(ab::test::TestBundle())), 0);
  ASSERT_EQ(recorder.boxes().size(), 1u);
  EXPECT_EQ(recorder.boxes()[0].text, QStringLiteral("Address Book open failed!"));
}

TEST_F(StartupTest, AFileInPlaceOfTheCardFolderIsKeptWhenTheUserSaysNo) {
  const std::string file = folder_.Write("VCardData", "my notes");
  BoxRecorder recorder(QMessageBox::No);
  EXPECT_EQ(WinMain(Options(ab::test::ProductBundle())), 0);
  ASSERT_EQ(recorder.boxes().size(), 1u);
  EXPECT_TRUE(recorder.boxes()[0].text.startsWith(QStringLiteral("A file named \"VCardData\"")));
  EXPECT_EQ(TempFolder::Read(file), "my notes");
  EXPECT_EQ(listWindow, nullptr);
}

TEST_F(StartupTest, AFileInPlaceOfTheCardFolderIsReplacedWhenTheUserSaysYes) {
  folder_.Write("VCardData", "my notes");
  BoxRecorder recorder(QMessageBox::Yes);
  CloseMainWindowSoon();
  EXPECT_EQ(WinMain(Options(ab::test::ProductBundle())), 0);
  EXPECT_EQ(recorder.boxes().size(), 1u);
  EXPECT_TRUE(fs::is_directory(folder_.File("VCardData")));
}

TEST_F(StartupTest, ANormalRunLoadsTheCardsAndReleasesEverythingAtTheEnd) {
  fs::create_directory(folder_.File("VCardData"));
  folder_.Write("VCardData/a.vcf", CardText({"Zed", "zed@example.com", "", ""}));
  folder_.Write("VCardData/b.vcf", CardText({"Amy", "amy@example.com", "", ""}));
  StartOptions options = Options(ab::test::ProductBundle());
  options.quitAfterFirstPaint = true;
  EXPECT_EQ(WinMain(options), 0);
  EXPECT_EQ(contactCount, 2);
  EXPECT_EQ(contactTable[0].displayName, "Amy");
  EXPECT_EQ(resourceLibrary, nullptr);
  EXPECT_EQ(listWindow, nullptr);
  EXPECT_FALSE(currentRecord);
}

TEST_F(StartupTest, CardsTheFullTableLeavesUnreadAreCountedInOneWarning) {
  fs::create_directory(folder_.File("VCardData"));
  for (int i = 0; i < 259; ++i) folder_.Write("VCardData/" + std::to_string(i) + ".vcf", CardText({"n", "", "", ""}));
  BoxRecorder recorder(QMessageBox::Ok);
  CloseMainWindowSoon();
  EXPECT_EQ(WinMain(Options(ab::test::ProductBundle())), 0);
  ASSERT_EQ(recorder.boxes().size(), 1u);
  EXPECT_TRUE(recorder.boxes()[0].text.startsWith(QStringLiteral("3 card files"))) << recorder.boxes()[0].text.toStdString();
}

// --- One instance per user -------------------------------------------------------

class SingleInstanceTest : public ::testing::Test {
 protected:
  // Every socket of these tests lives in a private temporary folder.
  SingleInstanceTest()
      : runtime_("XDG_RUNTIME_DIR", QByteArray::fromStdString(sockets_.path())),
        tmp_("TMPDIR", QByteArray::fromStdString(sockets_.path())) {}

  static std::string ProgramCopy(const TempFolder& into, bool withBundle) {
    const std::string program = into.File("addressbook");
    fs::copy_file(AB_PROGRAM, program);
    if (withBundle) fs::copy_file(AB_PRODUCT_BUNDLE, into.File("OSTREL_RC.dll"));
    return program;
  }

  QProcessEnvironment Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(sockets_.path()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
  }

  static std::string SocketPath() { return InstanceNameForUser().toStdString(); }

  TempFolder sockets_;
  ScopedEnv runtime_;
  ScopedEnv tmp_;
  TempFolder programFolder_;
};

TEST_F(SingleInstanceTest, ASecondStartAsksTheFirstToComeForwardWithItsFilesAndEnds) {
  SingleInstance first(InstanceNameForUser());
  ASSERT_FALSE(first.HandOverToRunning());
  ASSERT_TRUE(first.listening());
  int requests = 0;
  QStringList opened;
  first.onRaiseRequest = [&requests] { ++requests; };
  first.onOpenFiles = [&opened](const QStringList& files) { opened = files; };

  // As a file manager's "open with" starts it: the files, relative to its folder.
  QProcess second;
  second.setProcessEnvironment(Environment());
  second.setWorkingDirectory(QString::fromStdString(programFolder_.path()));
  second.start(QString::fromStdString(ProgramCopy(programFolder_, true)),
               {QStringLiteral("friends.vcf"), QStringLiteral("/tmp/export.csv")});
  ASSERT_TRUE(second.waitForStarted());
  // The first instance answers from its event loop while the second waits.
  for (int i = 0; i < 500 && second.state() != QProcess::NotRunning; ++i) QTest::qWait(10);
  ASSERT_EQ(second.state(), QProcess::NotRunning);
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(QTest::qWaitFor([&requests] { return requests > 0; }, 2000));
  EXPECT_EQ(requests, 1);
  EXPECT_EQ(opened, (QStringList{QString::fromStdString(programFolder_.File("friends.vcf")),
                                 QStringLiteral("/tmp/export.csv")}));
  // Nothing was loaded or created by the second start.
  EXPECT_FALSE(fs::exists(programFolder_.File("VCardData")));
}

TEST(RaiseMainWindowTest, AMinimisedWindowIsRestored) {
  QWidget window;
  window.showMinimized();
  ASSERT_TRUE(window.isMinimized());
  RaiseMainWindow(&window);
  EXPECT_FALSE(window.isMinimized());
  EXPECT_TRUE(window.isVisible());
  RaiseMainWindow(nullptr);  // no window yet: nothing happens
}

TEST_F(SingleInstanceTest, ASocketLeftByACrashedInstanceIsReplaced) {
  const std::string path = SocketPath();
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof(address.sun_path));
  std::copy(path.begin(), path.end(), address.sun_path);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ::close(fd);  // bound, never listening, never removed
  ASSERT_TRUE(fs::exists(path));

  SingleInstance instance(InstanceNameForUser());
  EXPECT_FALSE(instance.HandOverToRunning());
  EXPECT_TRUE(instance.listening());
}

TEST_F(SingleInstanceTest, TheSocketLivesInAFolderOfTheUsersOwn) {
  const std::string uid = std::to_string(::getuid());
  const std::string fallback = sockets_.File("addressbook-" + uid);
  EXPECT_EQ(SocketPath(), sockets_.File("AddressBookWClass"));
  ::chmod(sockets_.path().c_str(), 0755);  // a runtime folder others may enter is not used
  EXPECT_EQ(SocketPath(), fallback + "/AddressBookWClass");
  ::chmod(sockets_.path().c_str(), 0700);
  {
    ScopedEnv unset("XDG_RUNTIME_DIR", QByteArray());
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SocketPath(), fallback + "/AddressBookWClass");
    struct stat info {};
    ASSERT_EQ(::lstat(fallback.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    if (::geteuid() == 0) {  // only root can give the folder to someone else
      ASSERT_EQ(::chown(fallback.c_str(), 65534, 65534), 0);
      EXPECT_EQ(SocketPath(), "");
      SingleInstance unguarded(InstanceNameForUser());
      EXPECT_FALSE(unguarded.HandOverToRunning());
      EXPECT_FALSE(unguarded.listening());
    }
  }
}

TEST_F(SingleInstanceTest, AnotherUsersSocketIsNeitherUsedNorReplaced) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a socket to another user";
  QLocalServer stranger;
  ASSERT_TRUE(stranger.listen(InstanceNameForUser()));
  ASSERT_EQ(::chown(SocketPath().c_str(), 65534, 65534), 0);
  SingleInstance instance(InstanceNameForUser());
  EXPECT_FALSE(instance.HandOverToRunning());
  EXPECT_FALSE(instance.listening());
  QTest::qWait(50);
  EXPECT_FALSE(stranger.hasPendingConnections());
  EXPECT_TRUE(fs::exists(SocketPath()));
}

TEST_F(SingleInstanceTest, TwoRealStartsLeaveOneRunning) {
  QProcess first;
  first.setProcessEnvironment(Environment());
  first.start(QString::fromStdString(ProgramCopy(programFolder_, true)), {});
  ASSERT_TRUE(first.waitForStarted());
  ASSERT_TRUE(QTest::qWaitFor([this] { return fs::exists(SocketPath()); }, 10000));

  TempFolder otherFolder;
  QProcess second;
  second.setProcessEnvironment(Environment());
  second.start(QString::fromStdString(ProgramCopy(otherFolder, true)), {});
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_FALSE(fs::exists(otherFolder.File("VCardData")));
  EXPECT_EQ(first.state(), QProcess::Running);
  EXPECT_TRUE(fs::is_directory(programFolder_.File("VCardData")));
  first.kill();
  first.waitForFinished();
}

TEST_F(SingleInstanceTest, TheProgramRunsAndEndsWithZero) {
  QProcess program;
  QProcessEnvironment env = Environment();
  env.insert(QStringLiteral("AB_QUIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
  program.setProcessEnvironment(env);
  program.start(QString::fromStdString(ProgramCopy(programFolder_, true)), {});
  ASSERT_TRUE(program.waitForFinished(20000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  EXPECT_TRUE(fs::is_directory(programFolder_.File("VCardData")));
}

TEST_F(SingleInstanceTest, WithoutADisplayTheProgramSaysSoAndFails) {
  struct Case {
    const char* display;
    const char* message;
  };
  const QString copy = QString::fromStdString(ProgramCopy(programFolder_, true));
  // ":99" names a display that nobody serves: Qt itself would abort there.
  for (const Case& c : {Case{nullptr, "no display"}, Case{":99", "cannot open the display \":99\""}}) {
    SCOPED_TRACE(c.message);
    QProcess program;
    QProcessEnvironment env = Environment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(QLatin1String(name));
    if (c.display != nullptr) env.insert(QStringLiteral("DISPLAY"), QLatin1String(c.display));
    program.setProcessEnvironment(env);
    program.start(copy, {});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_TRUE(program.readAllStandardError().contains(c.message));
    EXPECT_FALSE(fs::exists(programFolder_.File("VCardData")));
  }
}

}  // namespace
}  // namespace ab::testing
