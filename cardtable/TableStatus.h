#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TCardTable;

// The card table's stored settings (Status.Dat): which properties are
// written, in which order, with which value types, and how a stored value
// goes back through the property's own setter.
namespace tablestatus {

// How a property's value is kept and shown.
enum class TKind { Integer, Boolean, Text, Colour, Cursor, Enumeration };

// One stored setting, already checked against the property it names. A bare
// name (the card snapshot names, which never carry data) has no value.
struct TSetting {
    std::string Name;
    bool Bare = false;
    TKind Kind = TKind::Integer;
    std::int64_t Int = 0;  // integers, colours ($00BBGGRR), cursors, enumeration ordinals
    bool Bool = false;
    std::string Text;
};

using TStatus = std::vector<TSetting>;

// The names of the card snapshot: defined, written bare, skipped when read.
const std::vector<std::string_view>& SnapshotNames();

// The table's settings as a component resource, in stream order.
std::string WriteStatus(const TCardTable& table);

// Reads and checks a whole stream: every name must be a stored property of
// the table and every value of a type that property takes. Anything else
// refuses the whole stream, with a sentence in `error`.
std::optional<TStatus> ReadStatus(std::string_view bytes, std::string* error = nullptr);

// Assigns the settings in order through the properties' setters (which drop
// values outside their range, as they always do).
void ApplyStatus(TCardTable& table, const TStatus& status);

// "Name = value" for a setting: integers in decimal, identifiers bare,
// text in single quotes, True/False; colours and cursors that have a name
// by the name. A bare name stands alone.
std::string Describe(const TSetting& setting);

// One setting from its name and its value written as Describe writes it
// (quotes around text optional); nullopt with a sentence for a name the
// table does not store or a value that property cannot take.
std::optional<TSetting> ParseSetting(std::string_view name, std::string_view value, std::string* error = nullptr);

// The settings the program gives its table before anything is loaded: the
// main window's table fills the window, drags cards, and moves them with a
// lift and a slowdown.
void ApplyProgramSettings(TCardTable& table);

} // namespace tablestatus
