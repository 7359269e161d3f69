// cardsheet: shows the generated card sets.
//
//   cardsheet [--dir CARDSETS_FOLDER] [--set NAME] [--png FILE]
//
// With --png the sheet of one set (default "Standard") is written to FILE and
// no window opens. Without it a window shows every set found, one tab each.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QTabWidget>
#include <cstdio>

#include "CardSheet.h"

namespace {

void Report(const QString& set, const QStringList& problems) {
  if (!problems.isEmpty())
    std::fprintf(stderr, "cardsheet: %s: missing or unreadable: %s\n", qPrintable(set),
                 qPrintable(problems.join(", ")));
}

int WritePng(const QString& cardsets, const QString& set, const QString& file) {
  QStringList problems;
  const QImage sheet = RenderCardSheet(QDir(cardsets).filePath(set), problems);
  Report(set, problems);
  if (!sheet.save(file, "PNG")) {
    std::fprintf(stderr, "cardsheet: cannot write %s\n", qPrintable(file));
    return 1;
  }
  return problems.isEmpty() ? 0 : 1;
}

QWidget* SheetPage(const QString& folder, const QString& set) {
  QStringList problems;
  auto* label = new QLabel;
  label->setPixmap(QPixmap::fromImage(RenderCardSheet(folder, problems)));
  Report(set, problems);
  auto* scroll = new QScrollArea;
  scroll->setWidget(label);
  return scroll;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("cardsheet");
  QCommandLineParser parser;
  parser.setApplicationDescription("Shows the card sets.");
  parser.addHelpOption();
  const QCommandLineOption dirOption("dir", "Card sets folder (default: Cardsets beside the program).", "folder");
  const QCommandLineOption setOption("set", "Card set to render with --png (default: Standard).", "name",
                                     "Standard");
  const QCommandLineOption pngOption("png", "Write the sheet of one set to this PNG file and exit.", "file");
  parser.addOptions({dirOption, setOption, pngOption});
  parser.process(app);

  const QString cardsets = parser.isSet(dirOption) ? parser.value(dirOption)
                                                   : QDir(QApplication::applicationDirPath()).filePath("Cardsets");
  if (parser.isSet(pngOption)) return WritePng(cardsets, parser.value(setOption), parser.value(pngOption));

  const QStringList sets = CardSetNames(cardsets);
  if (sets.isEmpty()) {
    std::fprintf(stderr, "cardsheet: no card sets in %s\n", qPrintable(cardsets));
    return 1;
  }
  QTabWidget window;
  window.setWindowTitle("Tessalyn card sets");
  for (const QString& set : sets) window.addTab(SheetPage(QDir(cardsets).filePath(set), set), set);
  window.resize(1100, 760);
  window.show();
  return QApplication::exec();
}
