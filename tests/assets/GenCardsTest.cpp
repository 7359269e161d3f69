#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "AssetFiles.h"

namespace fs = std::filesystem;

namespace {

struct TRun {
  int ExitCode = -1;
  QString Errors;
};

TRun RunGenerator(const QStringList& arguments, const QString& platform = "offscreen") {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", platform);
  process.setProcessEnvironment(env);
  process.start(QStringLiteral(TESSALYN_GENCARDS), arguments);
  TRun run;
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) return run;
  run.ExitCode = process.exitCode();
  run.Errors = QString::fromUtf8(process.readAllStandardError());
  return run;
}

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> FileNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

QString Path(const fs::path& p) { return QString::fromStdString(p.string()); }

}  // namespace

// The build's sets came from one run; a second run must give the same bytes,
// or every build would look like a change to the card sets. The second run
// sees another display platform: nothing in the files may depend on it.
TEST(GenCards, ASecondRunWritesTheSameBytes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path fresh = dir.path().toStdString();
  ASSERT_EQ(RunGenerator({dir.path()}, "minimal").ExitCode, 0);
  for (const assets::TShippedSet& set : assets::ShippedSets()) {
    const fs::path built = assets::CardsetsDir() / set.Name;
    ASSERT_EQ(FileNames(fresh / set.Name), FileNames(built)) << set.Name;
    for (const std::string& name : FileNames(built))
      EXPECT_TRUE(Bytes(fresh / set.Name / name) == Bytes(built / name)) << set.Name << "/" << name;
  }
}

TEST(GenCards, RegeneratingASetRemovesBacksItNoLongerMakes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path standard = fs::path(dir.path().toStdString()) / "Standard";
  fs::create_directories(standard);
  std::ofstream(standard / "Back9.bmp") << "left from an older run";
  ASSERT_EQ(RunGenerator({dir.path(), "Standard"}).ExitCode, 0);
  EXPECT_FALSE(fs::exists(standard / "Back9.bmp"));
  EXPECT_TRUE(fs::exists(standard / "Back1.bmp"));
  EXPECT_FALSE(fs::exists(fs::path(dir.path().toStdString()) / "Large")) << "only the named set is written";
}

TEST(GenCards, FailuresAreReportedNotPassedOffAsSuccess) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path blocker = fs::path(dir.path().toStdString()) / "not-a-folder";
  std::ofstream(blocker) << "x";
  const TRun blocked = RunGenerator({Path(blocker)});
  EXPECT_NE(blocked.ExitCode, 0);
  EXPECT_TRUE(blocked.Errors.contains("cannot create")) << blocked.Errors.toStdString();

  const TRun unknown = RunGenerator({dir.path(), "NoSuchSet"});
  EXPECT_NE(unknown.ExitCode, 0);
  EXPECT_FALSE(fs::exists(fs::path(dir.path().toStdString()) / "NoSuchSet"));

  EXPECT_NE(RunGenerator({}).ExitCode, 0);
}
