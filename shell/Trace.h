#pragma once

#include <QString>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

// `format` (a Qt time format) without its time zone: the plain long time,
// as the trace writes it. Quoted text is kept as it is.
QString PlainTimeFormat(const QString& format);

// The debug trace: debug.dat in the data folder, one time-stamped line per
// call. The file keeps every earlier run's lines; each run's trace starts
// with a block naming the options in force.
//
// A line reaches the disk as soon as it is written (a crash must not lose
// the lines that led to it), but only the new line is written: the cost of
// a line does not grow with the file.
class TTraceLog {
public:
    // Opens (or creates) `file` for appending and connects the program's
    // trace to it. Nothing is written yet. A file that cannot be opened
    // leaves a trace that silently writes nothing.
    explicit TTraceLog(std::filesystem::path file);
    // Disconnects the program's trace.
    ~TTraceLog();
    TTraceLog(const TTraceLog&) = delete;
    TTraceLog& operator=(const TTraceLog&) = delete;

    // The block that opens a run's trace: an empty line, the separator,
    // "Options:", the option lines, the closing separator and
    // "Trace Started." with its time.
    void Begin(const std::vector<std::string>& options);

    // One line: message + " " + the time of day.
    void Write(std::string_view message);

    // Goes on in `file` (the data folder has moved, debug.dat with it).
    void MoveTo(std::filesystem::path file);

    const std::filesystem::path& File() const { return FileName; }

private:
    void WriteRaw(std::string_view line);
    void Open();
    const std::string& TimeText();

    std::filesystem::path FileName;
    std::ofstream Out;
    QString TimeFormat;
    // The time text changes once a second at most: it is formatted again
    // only then (unless the format shows fractions of a second).
    bool TimeHasFractions = false;
    long long TimeSecond = -1;
    std::string TimeCache;
    std::string Line;
};
