#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The toolkit's component resource: a small resource header around a
// "TPF0" component stream that names each stored property and tags its
// value with a type byte. Status.Dat is one of these, so any reader of the
// format reads it and files written by other writers of the format load here.
namespace componentstream {

enum class TValueType : std::uint8_t {
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    Ident = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LString = 12,
    Nil = 13,
    Collection = 14,
    Single = 15,
    Currency = 16,
    Date = 17,
    WString = 18,
    Int64 = 19,
    Utf8String = 20,
};

// One stored value. Integers of every width arrive as Int; String, LString
// and Utf8String as text; Ident as its identifier; a Set as its members.
struct TValue {
    enum class TKind { Integer, Boolean, Text, Ident, Set };
    TKind Kind = TKind::Integer;
    std::int64_t Int = 0;
    bool Bool = false;
    std::string Text;
    std::vector<std::string> Members;

    static TValue Integer(std::int64_t value);
    static TValue Boolean(bool value);
    static TValue String(std::string text);
    static TValue Identifier(std::string ident);
    bool operator==(const TValue&) const = default;
};

// A property is its (possibly dotted) name and a value; a property defined
// with no data has no value and is written as its bare name.
struct TProperty {
    std::string Name;
    std::optional<TValue> Value;
    bool operator==(const TProperty&) const = default;
};

struct TComponent {
    std::string ClassName;
    std::string Name;
    std::vector<TProperty> Properties;
    bool operator==(const TComponent&) const = default;
};

// The whole resource: a header named after the class (in capitals), then
// the stream. Integers take the smallest of Int8, Int16, Int32; text
// over 255 bytes becomes LString, text that is not plain ASCII Utf8String.
std::string WriteResource(const TComponent& component);
// The stream alone, from "TPF0" to the end of the child list.
std::string WriteStream(const TComponent& component);

// True for the names that carry no value (the reader must know them: the
// format itself does not mark them).
using TBareName = std::function<bool(std::string_view name)>;

// Reads a resource (or a bare "TPF0" stream) whole. Anything short of a
// complete, well-formed stream is refused with a sentence in `error`:
// truncation, a length past the end, an unknown or unsupported value type,
// child components, bytes missing from the header. Nothing is half-read.
std::optional<TComponent> ReadResource(std::string_view bytes, const TBareName& bareName,
                                       std::string* error = nullptr);

} // namespace componentstream
