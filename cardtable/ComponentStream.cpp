#include "cardtable/ComponentStream.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <stdexcept>

namespace componentstream {

TValue TValue::Integer(std::int64_t value)
{
    TValue result;
    result.Kind = TKind::Integer;
    result.Int = value;
    return result;
}

TValue TValue::Boolean(bool value)
{
    TValue result;
    result.Kind = TKind::Boolean;
    result.Bool = value;
    return result;
}

TValue TValue::String(std::string text)
{
    TValue result;
    result.Kind = TKind::Text;
    result.Text = std::move(text);
    return result;
}

TValue TValue::Identifier(std::string ident)
{
    TValue result;
    result.Kind = TKind::Ident;
    result.Text = std::move(ident);
    return result;
}

namespace {

constexpr std::string_view Signature = "TPF0";
constexpr std::uint16_t RawDataType = 10;
constexpr std::uint16_t MemoryFlags = 0x1030;

// ------------------------------------------------------------ writing

void PutByte(std::string& out, std::uint8_t byte) { out.push_back(static_cast<char>(byte)); }

void PutLittle(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        PutByte(out, static_cast<std::uint8_t>(value >> (8 * i)));
}

// Names and identifiers longer than a short string can hold are cut: the
// format has no longer form for them.
void PutShortString(std::string& out, std::string_view text)
{
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    PutByte(out, static_cast<std::uint8_t>(length));
    out.append(text.substr(0, length));
}

void PutType(std::string& out, TValueType type) { PutByte(out, static_cast<std::uint8_t>(type)); }

void PutInteger(std::string& out, std::int64_t value)
{
    if (value >= std::numeric_limits<std::int8_t>::min() && value <= std::numeric_limits<std::int8_t>::max()) {
        PutType(out, TValueType::Int8);
        PutLittle(out, static_cast<std::uint64_t>(value), 1);
    } else if (value >= std::numeric_limits<std::int16_t>::min() && value <= std::numeric_limits<std::int16_t>::max()) {
        PutType(out, TValueType::Int16);
        PutLittle(out, static_cast<std::uint64_t>(value), 2);
    } else {
        // Every integer property of the table is 32 bits wide.
        PutType(out, TValueType::Int32);
        PutLittle(out, static_cast<std::uint64_t>(static_cast<std::int32_t>(value)), 4);
    }
}

bool PlainAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void PutText(std::string& out, std::string_view text)
{
    if (!PlainAscii(text)) {
        PutType(out, TValueType::Utf8String);
        PutLittle(out, text.size(), 4);
        out.append(text);
    } else if (text.size() > 255) {
        PutType(out, TValueType::LString);
        PutLittle(out, text.size(), 4);
        out.append(text);
    } else {
        PutType(out, TValueType::String);
        PutShortString(out, text);
    }
}

void PutValue(std::string& out, const TValue& value)
{
    switch (value.Kind) {
    case TValue::TKind::Integer:
        PutInteger(out, value.Int);
        break;
    case TValue::TKind::Boolean:
        PutType(out, value.Bool ? TValueType::True : TValueType::False);
        break;
    case TValue::TKind::Text:
        PutText(out, value.Text);
        break;
    case TValue::TKind::Ident:
        PutType(out, TValueType::Ident);
        PutShortString(out, value.Text);
        break;
    case TValue::TKind::Set:
        PutType(out, TValueType::Set);
        for (const std::string& member : value.Members)
            PutShortString(out, member);
        PutShortString(out, {});
        break;
    }
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// ------------------------------------------------------------ reading

struct TDamaged : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class TReader {
public:
    explicit TReader(std::string_view bytes) : Bytes(bytes) {}

    std::size_t Left() const { return Bytes.size() - Position; }
    bool AtEnd() const { return Left() == 0; }

    std::uint8_t Byte()
    {
        Need(1);
        return static_cast<std::uint8_t>(Bytes[Position++]);
    }

    std::uint8_t PeekByte() const
    {
        if (AtEnd())
            throw TDamaged("the stream ends too early");
        return static_cast<std::uint8_t>(Bytes[Position]);
    }

    std::uint64_t Little(int bytes)
    {
        Need(std::size_t(bytes));
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= std::uint64_t(static_cast<std::uint8_t>(Bytes[Position + std::size_t(i)])) << (8 * i);
        Position += std::size_t(bytes);
        return value;
    }

    std::string_view Take(std::uint64_t count)
    {
        if (count > Left())
            throw TDamaged("a length runs past the end of the stream");
        const std::string_view part = Bytes.substr(Position, std::size_t(count));
        Position += std::size_t(count);
        return part;
    }

    std::string ShortString() { return std::string(Take(Byte())); }

    std::string NulString()
    {
        const std::size_t end = Bytes.find('\0', Position);
        if (end == std::string_view::npos)
            throw TDamaged("the resource name is not ended");
        std::string text(Bytes.substr(Position, end - Position));
        Position = end + 1;
        return text;
    }

private:
    void Need(std::size_t count) const
    {
        if (count > Left())
            throw TDamaged("the stream ends too early");
    }

    std::string_view Bytes;
    std::size_t Position = 0;
};

std::int64_t Signed(std::uint64_t raw, int bytes)
{
    const int bits = 8 * bytes;
    const std::uint64_t sign = std::uint64_t(1) << (bits - 1);
    return static_cast<std::int64_t>((raw ^ sign) - sign);
}

TValue ReadValue(TReader& in)
{
    const auto type = static_cast<TValueType>(in.Byte());
    switch (type) {
    case TValueType::Int8:
        return TValue::Integer(Signed(in.Little(1), 1));
    case TValueType::Int16:
        return TValue::Integer(Signed(in.Little(2), 2));
    case TValueType::Int32:
        return TValue::Integer(Signed(in.Little(4), 4));
    case TValueType::String:
        return TValue::String(in.ShortString());
    case TValueType::LString:
    case TValueType::Utf8String: {
        const std::uint64_t length = in.Little(4);
        return TValue::String(std::string(in.Take(length)));
    }
    case TValueType::Ident:
        return TValue::Identifier(in.ShortString());
    case TValueType::False:
        return TValue::Boolean(false);
    case TValueType::True:
        return TValue::Boolean(true);
    case TValueType::Set: {
        TValue set;
        set.Kind = TValue::TKind::Set;
        for (std::string member = in.ShortString(); !member.empty(); member = in.ShortString())
            set.Members.push_back(std::move(member));
        return set;
    }
    default:
        // Lists, floating point, binary data, wide strings and the like
        // belong to no property of ours; guessing their size would misread
        // everything after them.
        throw TDamaged("value type " + std::to_string(int(type)) + " is not supported");
    }
}

// Inherited and inline components carry a flags byte before the class name,
// and a child position after it when flag 2 is set.
void SkipFilerFlags(TReader& in)
{
    if ((in.PeekByte() & 0xF0) != 0xF0)
        return;
    const std::uint8_t flags = in.Byte() & 0x0F;
    if (flags & 0x02) {
        const TValue position = ReadValue(in);
        if (position.Kind != TValue::TKind::Integer)
            throw TDamaged("the child position is not a number");
    }
}

TComponent ReadStream(TReader& in, const TBareName& bareName)
{
    if (in.Take(Signature.size()) != Signature)
        throw TDamaged("the component signature \"TPF0\" is missing");
    SkipFilerFlags(in);
    TComponent component;
    component.ClassName = in.ShortString();
    component.Name = in.ShortString();
    if (component.ClassName.empty())
        throw TDamaged("the component has no class name");
    for (std::string name = in.ShortString(); !name.empty(); name = in.ShortString()) {
        TProperty property;
        property.Name = std::move(name);
        if (!bareName || !bareName(property.Name))
            property.Value = ReadValue(in);
        component.Properties.push_back(std::move(property));
    }
    if (in.Byte() != 0)
        throw TDamaged("the component holds child components");
    return component;
}

TComponent ReadWrapped(TReader& in, const TBareName& bareName)
{
    in.Byte(); // 0xFF: an ordinal resource type follows
    if (in.Little(2) != RawDataType)
        throw TDamaged("the resource is not of the raw data type");
    if (in.PeekByte() == 0xFF) {
        in.Byte();
        in.Little(2);
    } else {
        in.NulString();
    }
    in.Little(2); // memory flags
    const std::uint64_t size = in.Little(4);
    TReader stream(in.Take(size));
    return ReadStream(stream, bareName);
}

} // namespace

std::string WriteStream(const TComponent& component)
{
    std::string out(Signature);
    PutShortString(out, component.ClassName);
    PutShortString(out, component.Name);
    for (const TProperty& property : component.Properties) {
        PutShortString(out, property.Name);
        if (property.Value)
            PutValue(out, *property.Value);
    }
    PutByte(out, 0); // end of the properties
    PutByte(out, 0); // no child components
    return out;
}

std::string WriteResource(const TComponent& component)
{
    const std::string stream = WriteStream(component);
    std::string out;
    PutByte(out, 0xFF);
    PutLittle(out, RawDataType, 2);
    const std::string name = Upper(component.ClassName);
    out.append(name);
    PutByte(out, 0);
    PutLittle(out, MemoryFlags, 2);
    PutLittle(out, stream.size(), 4);
    out.append(stream);
    return out;
}

std::optional<TComponent> ReadResource(std::string_view bytes, const TBareName& bareName, std::string* error)
{
    try {
        TReader in(bytes);
        if (bytes.substr(0, Signature.size()) == Signature)
            return ReadStream(in, bareName);
        if (in.PeekByte() != 0xFF)
            throw TDamaged("this is not a component resource");
        return ReadWrapped(in, bareName);
    } catch (const TDamaged& damage) {
        if (error != nullptr)
            *error = damage.what();
        return std::nullopt;
    }
}

} // namespace componentstream
