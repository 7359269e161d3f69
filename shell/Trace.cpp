#include "shell/Trace.h"

#include "platform/Trace.h"

#include <QLocale>
#include <QTime>

#include <chrono>
#include <system_error>

namespace {

// True when the file exists, is not empty and its last byte is not a line
// end: the first new line must then start on a line of its own.
bool EndsInsideALine(const std::filesystem::path& file)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error || size == 0)
        return false;
    std::ifstream in(file, std::ios::binary);
    in.seekg(-1, std::ios::end);
    char last = '\n';
    in.get(last);
    return in && last != '\n';
}

} // namespace

QString PlainTimeFormat(const QString& format)
{
    QString plain;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t'))
            plain += c;
    }
    // The zone stood apart from the time: the spaces round it go with it.
    return plain.simplified();
}

TTraceLog::TTraceLog(std::filesystem::path file)
    : FileName(std::move(file)),
      // The player's own long time format, as the rest of the desktop shows times.
      TimeFormat(PlainTimeFormat(QLocale::system().timeFormat(QLocale::LongFormat))),
      TimeHasFractions(TimeFormat.contains(QLatin1Char('z')))
{
    Open();
    platform::SetTraceSink([this](std::string_view line) { Write(line); });
}

void TTraceLog::Open()
{
    std::error_code error;
    std::filesystem::create_directories(FileName.parent_path(), error);
    const bool joinLine = EndsInsideALine(FileName);
    Out.open(FileName, std::ios::binary | std::ios::app);
    if (joinLine)
        WriteRaw("");
}

void TTraceLog::MoveTo(std::filesystem::path file)
{
    Out.close();
    Out.clear();
    FileName = std::move(file);
    Open();
}

TTraceLog::~TTraceLog() { platform::SetTraceSink({}); }

void TTraceLog::Begin(const std::vector<std::string>& options)
{
    WriteRaw("");
    WriteRaw("-----------------");
    WriteRaw("Options:");
    for (const std::string& option : options)
        WriteRaw(option);
    WriteRaw("-- -- -- -- -- --");
    Write("Trace Started.");
}

void TTraceLog::Write(std::string_view message)
{
    Line.assign(message);
    Line.push_back(' ');
    Line.append(TimeText());
    WriteRaw(Line);
}

const std::string& TTraceLog::TimeText()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const long long second = std::chrono::duration_cast<std::chrono::seconds>(now).count();
    if (second != TimeSecond || TimeHasFractions) {
        TimeSecond = second;
        TimeCache = QTime::currentTime().toString(TimeFormat).toStdString();
    }
    return TimeCache;
}

void TTraceLog::WriteRaw(std::string_view line)
{
    if (!Out)
        return;
    Out.write(line.data(), std::streamsize(line.size()));
    Out.write("\r\n", 2);
    Out.flush();
}
