#include "cardtable/TableStatus.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <span>

#include "cardtable/CardTable.h"
#include "cardtable/ComponentStream.h"

namespace tablestatus {

namespace {

using componentstream::TValue;

struct TNamedNumber {
    std::string_view Name;
    std::int64_t Value;
};

// Colours are $00BBGGRR; the system colours are 0x80000000 + their index.
constexpr std::array<TNamedNumber, 52> ColourNames{{
    {"clBlack", 0x000000},        {"clMaroon", 0x000080},       {"clGreen", 0x008000},
    {"clOlive", 0x008080},        {"clNavy", 0x800000},         {"clPurple", 0x800080},
    {"clTeal", 0x808000},         {"clGray", 0x808080},         {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},          {"clLime", 0x00FF00},         {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},         {"clFuchsia", 0xFF00FF},      {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},        {"clMoneyGreen", 0xC0DCC0},   {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},        {"clMedGray", 0xA4A0A0},      {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", 0x80000000},  {"clBackground", 0x80000001}, {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003}, {"clMenu", 0x80000004},  {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006}, {"clMenuText", 0x80000007},  {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009}, {"clActiveBorder", 0x8000000A}, {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C}, {"clHighlight", 0x8000000D}, {"clHighlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},    {"clBtnShadow", 0x80000010},  {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},    {"clInactiveCaptionText", 0x80000013}, {"clBtnHighlight", 0x80000014},
    {"cl3DDkShadow", 0x80000015}, {"cl3DLight", 0x80000016},    {"clInfoText", 0x80000017},
    {"clInfoBk", 0x80000018},     {"clHotLight", 0x8000001A},   {"clGradientActiveCaption", 0x8000001B},
    {"clGradientInactiveCaption", 0x8000001C}, {"clMenuHighlight", 0x8000001D}, {"clMenuBar", 0x8000001E},
}};

// The classic desktop scheme, for files that name a system colour. Written
// as 0xRRGGBB, unlike the codes above.
constexpr std::array<std::uint32_t, 31> SystemColours{
    0xC8C8C8, 0x008080, 0x0A246A, 0xBFCDDB, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8,
    0x808080, 0x808080, 0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000,
    0xFFFFE1, 0xB5B5B5, 0x000080, 0xA6CAF0, 0xC0C0C0, 0x316AC5, 0xD4D0C8};

constexpr std::array<TNamedNumber, 22> CursorNames{{
    {"crDefault", 0},     {"crNone", -1},       {"crArrow", -2},     {"crCross", -3},
    {"crIBeam", -4},      {"crSizeNESW", -6},   {"crSizeNS", -7},    {"crSizeNWSE", -8},
    {"crSizeWE", -9},     {"crUpArrow", -10},   {"crHourGlass", -11}, {"crDrag", -12},
    {"crNoDrop", -13},    {"crHSplit", -14},    {"crVSplit", -15},   {"crMultiDrag", -16},
    {"crSQLWait", -17},   {"crNo", -18},        {"crAppStart", -19}, {"crHelp", -20},
    {"crHandPoint", -21}, {"crSizeAll", -22},
}};

// Cursor numbers and the pointer shapes standing for them here. The first
// entry of a shape is the one it is written as.
struct TCursorShape {
    std::int64_t Number;
    Qt::CursorShape Shape;
};
constexpr std::array<TCursorShape, 21> CursorShapes{{
    {-1, Qt::BlankCursor},      {-2, Qt::ArrowCursor},     {-3, Qt::CrossCursor},
    {-4, Qt::IBeamCursor},      {-6, Qt::SizeBDiagCursor}, {-7, Qt::SizeVerCursor},
    {-8, Qt::SizeFDiagCursor},  {-9, Qt::SizeHorCursor},   {-10, Qt::UpArrowCursor},
    {-11, Qt::WaitCursor},      {-12, Qt::DragMoveCursor}, {-18, Qt::ForbiddenCursor},
    {-13, Qt::ForbiddenCursor}, {-14, Qt::SplitHCursor},   {-15, Qt::SplitVCursor},
    {-16, Qt::DragCopyCursor},  {-17, Qt::WaitCursor},     {-19, Qt::BusyCursor},
    {-20, Qt::WhatsThisCursor}, {-21, Qt::PointingHandCursor}, {-22, Qt::SizeAllCursor},
}};

constexpr std::array<std::string_view, 7> AlignNames{"alNone", "alTop", "alBottom", "alLeft",
                                                      "alRight", "alClient", "alCustom"};
constexpr std::array<std::string_view, 4> DirectionNames{"drLeftRight", "drRightLeft", "drUpDown", "drDownUp"};
constexpr std::array<std::string_view, 4> StyleNames{"gsHorizontal", "gsVertical", "gsDiagonalLeftRight",
                                                      "gsDiagonalRightLeft"};
constexpr std::array<std::string_view, 2> JpegNames{"jpBestQuality", "jpBestSpeed"};
constexpr std::array<std::string_view, 2> ShadowNames{"smOriginal", "smDarken"};
constexpr std::array<std::string_view, 2> HelpTypeNames{"htKeyword", "htContext"};

bool SameIdent(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

template <std::size_t N>
std::optional<std::int64_t> NumberOf(const std::array<TNamedNumber, N>& names, std::string_view name)
{
    for (const TNamedNumber& entry : names)
        if (SameIdent(entry.Name, name))
            return entry.Value;
    return std::nullopt;
}

template <std::size_t N>
std::optional<std::string_view> NameOf(const std::array<TNamedNumber, N>& names, std::int64_t value)
{
    for (const TNamedNumber& entry : names)
        if (entry.Value == value)
            return entry.Name;
    return std::nullopt;
}

std::int64_t ColourCode(const QColor& colour)
{
    return std::int64_t(colour.red()) | (std::int64_t(colour.green()) << 8) | (std::int64_t(colour.blue()) << 16);
}

// clNone, clDefault and unknown system colours give an invalid colour, which
// every colour setter ignores.
QColor ColourFromCode(std::int64_t code)
{
    if (code >= 0 && code <= 0xFFFFFF) {
        const auto bgr = std::uint32_t(code);
        return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
    }
    if (code >= 0x80000000LL && code < 0x80000000LL + std::int64_t(SystemColours.size())) {
        const std::uint32_t rgb = SystemColours[std::size_t(code - 0x80000000LL)];
        return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
    }
    return {};
}

std::int64_t CursorNumber(Qt::CursorShape shape)
{
    for (const TCursorShape& entry : CursorShapes)
        if (entry.Shape == shape)
            return entry.Number;
    return 0;
}

std::optional<Qt::CursorShape> CursorShape(std::int64_t number)
{
    for (const TCursorShape& entry : CursorShapes)
        if (entry.Number == number)
            return entry.Shape;
    return std::nullopt;
}

// Several identifiers share one pointer shape here (crNoDrop and crNo,
// crSQLWait and crHourGlass, crDefault and crArrow for the drag cursor), so
// the table keeps the number a file named and writes it back as long as its
// shape is still the one in force.
constexpr const char* KeptCursor = "statusCursorNumber";
constexpr const char* KeptDragCursor = "statusDragCardCursorNumber";

// crDefault as a drag cursor is the ordinary pointer.
std::optional<Qt::CursorShape> DragCursorShape(std::int64_t number)
{
    return number == 0 ? std::optional(Qt::ArrowCursor) : CursorShape(number);
}

std::int64_t KeptCursorNumber(const TCardTable& t, const char* key, Qt::CursorShape shape,
                              std::optional<Qt::CursorShape> (*shapeOf)(std::int64_t))
{
    const QVariant kept = t.property(key);
    if (kept.isValid() && shapeOf(kept.toLongLong()) == shape)
        return kept.toLongLong();
    return CursorNumber(shape);
}

// ------------------------------------------------------------ the properties

// Never: properties of every control that the table leaves at their
// defaults; files from other writers may still hold them.
enum class TWhen { Always, NotZero, NotDefault, WhenFalse, NotEmpty, Never };

struct TPropertyDef {
    std::string_view Name;
    TKind Kind;
    TWhen When;
    std::span<const std::string_view> Idents;   // enumerations: identifiers by ordinal
    std::function<TSetting(const TCardTable&)> Get;
    std::function<void(TCardTable&, const TSetting&)> Set;
};

TSetting IntSetting(std::int64_t value)
{
    TSetting s;
    s.Int = value;
    return s;
}

TSetting BoolSetting(bool value)
{
    TSetting s;
    s.Bool = value;
    return s;
}

TSetting TextSetting(std::string value)
{
    TSetting s;
    s.Text = std::move(value);
    return s;
}

int AsInt(const TSetting& s) { return static_cast<int>(s.Int); }

template <typename TGet, typename TSet>
TPropertyDef Integer(std::string_view name, TGet get, TSet set, TWhen when = TWhen::Always)
{
    return {name, TKind::Integer, when, {},
            [get](const TCardTable& t) { return IntSetting(get(t)); },
            [set](TCardTable& t, const TSetting& s) { set(t, AsInt(s)); }};
}

template <typename TGet, typename TSet>
TPropertyDef Boolean(std::string_view name, TGet get, TSet set, TWhen when = TWhen::Always)
{
    return {name, TKind::Boolean, when, {},
            [get](const TCardTable& t) { return BoolSetting(get(t)); },
            [set](TCardTable& t, const TSetting& s) { set(t, s.Bool); }};
}

template <typename TGet, typename TSet>
TPropertyDef Colour(std::string_view name, TGet get, TSet set)
{
    return {name, TKind::Colour, TWhen::Always, {},
            [get](const TCardTable& t) { return IntSetting(ColourCode(get(t))); },
            [set](TCardTable& t, const TSetting& s) {
                const QColor colour = ColourFromCode(s.Int);
                if (colour.isValid())
                    set(t, colour);
            }};
}

template <typename TGet, typename TSet>
TPropertyDef Enumeration(std::string_view name, std::span<const std::string_view> idents, TGet get, TSet set,
                         TWhen when = TWhen::Always)
{
    return {name, TKind::Enumeration, when, idents,
            [get](const TCardTable& t) { return IntSetting(get(t)); },
            [set](TCardTable& t, const TSetting& s) { set(t, AsInt(s)); }};
}

// A property of a sub-object needs a writable table even to read it.
TBackdrop& Drop(const TCardTable& t) { return const_cast<TCardTable&>(t).BackDrop(); }

std::uint8_t ByteOf(int value) { return static_cast<std::uint8_t>(value); }

// No screen is larger; a bigger size in a file would only exhaust memory.
constexpr int LargestSide = 16384;
bool IsSide(int value) { return value > 0 && value <= LargestSide; }
bool IsByte(int value) { return value >= 0 && value <= 255; }

const std::vector<TPropertyDef>& Properties()
{
    static const std::vector<TPropertyDef> properties = [] {
        std::vector<TPropertyDef> p;
        p.push_back(Integer("Tag", [](const TCardTable& t) { return t.Tag(); },
                            [](TCardTable& t, int v) { t.SetTag(v); }, TWhen::NotZero));
        p.push_back(Integer("Left", [](const TCardTable& t) { return t.x(); },
                            [](TCardTable& t, int v) { t.move(v, t.y()); }));
        p.push_back(Integer("Top", [](const TCardTable& t) { return t.y(); },
                            [](TCardTable& t, int v) { t.move(t.x(), v); }));
        p.push_back(Integer("Width", [](const TCardTable& t) { return t.width(); },
                            [](TCardTable& t, int v) { if (IsSide(v)) t.resize(v, t.height()); }));
        p.push_back(Integer("Height", [](const TCardTable& t) { return t.height(); },
                            [](TCardTable& t, int v) { if (IsSide(v)) t.resize(t.width(), v); }));
        p.push_back({"Cursor", TKind::Cursor, TWhen::NotDefault, {},
                     [](const TCardTable& t) {
                         return IntSetting(t.testAttribute(Qt::WA_SetCursor)
                                               ? KeptCursorNumber(t, KeptCursor, t.cursor().shape(), CursorShape)
                                               : 0);
                     },
                     [](TCardTable& t, const TSetting& s) {
                         if (s.Int == 0) {
                             t.unsetCursor();
                         } else if (const auto shape = CursorShape(s.Int)) {
                             t.setCursor(*shape);
                             t.setProperty(KeptCursor, QVariant::fromValue<qlonglong>(s.Int));
                         }
                     }});
        // Hints, help and margins: read and let go.
        const auto ignoreInt = [](TCardTable&, int) {};
        const auto ignoreBool = [](TCardTable&, bool) {};
        p.push_back({"HelpType", TKind::Enumeration, TWhen::Never, HelpTypeNames,
                     [](const TCardTable&) { return IntSetting(1); }, [](TCardTable&, const TSetting&) {}});
        p.push_back({"HelpKeyword", TKind::Text, TWhen::Never, {}, [](const TCardTable&) { return TextSetting({}); },
                     [](TCardTable&, const TSetting&) {}});
        p.push_back(Integer("HelpContext", [](const TCardTable&) { return 0; }, ignoreInt, TWhen::Never));
        p.push_back({"Hint", TKind::Text, TWhen::Never, {}, [](const TCardTable&) { return TextSetting({}); },
                     [](TCardTable&, const TSetting&) {}});
        p.push_back(Boolean("ShowHint", [](const TCardTable&) { return false; }, ignoreBool, TWhen::Never));
        p.push_back(Boolean("ParentShowHint", [](const TCardTable&) { return true; }, ignoreBool, TWhen::Never));
        p.push_back(Boolean("AlignWithMargins", [](const TCardTable&) { return false; }, ignoreBool, TWhen::Never));
        for (const std::string_view margin : {"Margins.Left", "Margins.Top", "Margins.Right", "Margins.Bottom"})
            p.push_back(Integer(margin, [](const TCardTable&) { return 3; }, ignoreInt, TWhen::Never));
        p.push_back(Enumeration("Align", AlignNames, [](const TCardTable& t) { return int(t.Align()); },
                                [](TCardTable& t, int v) {
                                    if (v >= 0 && v < int(AlignNames.size()))
                                        t.SetAlign(TAlign(v));
                                },
                                TWhen::NotZero));
        p.push_back(Boolean("Enabled", [](const TCardTable& t) { return !t.testAttribute(Qt::WA_ForceDisabled); },
                            [](TCardTable& t, bool v) { t.setEnabled(v); }, TWhen::WhenFalse));
        p.push_back({"CardDeck.DeckName", TKind::Text, TWhen::Always, {},
                     [](const TCardTable& t) { return TextSetting(t.CardDeck().DeckName()); },
                     [](TCardTable& t, const TSetting& s) {
                         // A set that cannot be loaded keeps the current one,
                         // and the player is told which and why.
                         try {
                             t.CardDeck().SetDeckName(s.Text);
                         } catch (const ECardTableError& error) {
                             t.StatusNotice = "The card set \"" + s.Text + "\" cannot be loaded (" + error.what()
                                              + "); the card set \"" + t.CardDeck().DeckName() + "\" is used instead.";
                         }
                     }});
        p.push_back(Integer("CardDeck.CardBack", [](const TCardTable& t) { return t.CardDeck().CardBack(); },
                            [](TCardTable& t, int v) {
                                try {
                                    t.CardDeck().SetCardBack(v);
                                } catch (const ECardTableError&) {
                                }
                            }));
        // Visible means "not hidden on purpose": a table whose window is not
        // shown yet is still a visible table.
        p.push_back(Boolean("Visible",
                            [](const TCardTable& t) {
                                return !(t.testAttribute(Qt::WA_WState_ExplicitShowHide) && t.isHidden());
                            },
                            [](TCardTable& t, bool v) {
                                // A table without an owner is never shown as a window of its own.
                                if (!v)
                                    t.hide();
                                else if (t.parentWidget() != nullptr)
                                    t.show();
                            },
                            TWhen::WhenFalse));
        p.push_back(Boolean("StretchBackground", [](const TCardTable& t) { return t.StretchBackground(); },
                            [](TCardTable& t, bool v) { t.SetStretchBackground(v); }));
        p.push_back(Integer("PlaceDeckOffset", [](const TCardTable& t) { return t.PlaceDeckOffset(); },
                            [](TCardTable& t, int v) { t.SetPlaceDeckOffset(v); }));
        p.push_back({"DragCardCursor", TKind::Cursor, TWhen::Always, {},
                     [](const TCardTable& t) {
                         return IntSetting(KeptCursorNumber(t, KeptDragCursor, t.DragCardCursor(), DragCursorShape));
                     },
                     [](TCardTable& t, const TSetting& s) {
                         if (const auto shape = DragCursorShape(s.Int)) {
                             t.SetDragCardCursor(*shape);
                             t.setProperty(KeptDragCursor, QVariant::fromValue<qlonglong>(s.Int));
                         }
                     }});
        p.push_back(Colour("Color", [](const TCardTable& t) { return t.Color(); },
                           [](TCardTable& t, const QColor& c) { t.SetColor(c); }));
        p.push_back(Boolean("BackDrop.Enabled", [](const TCardTable& t) { return Drop(t).Enabled(); },
                            [](TCardTable& t, bool v) { t.BackDrop().SetEnabled(v); }));
        p.push_back(Boolean("BackDrop.NewMode", [](const TCardTable& t) { return Drop(t).NewMode(); },
                            [](TCardTable& t, bool v) { t.BackDrop().SetNewMode(v); }));
        p.push_back(Boolean("BackDrop.ChangeRColour", [](const TCardTable& t) { return Drop(t).ChangeRColour(); },
                            [](TCardTable& t, bool v) { t.BackDrop().SetChangeRColour(v); }));
        p.push_back(Boolean("BackDrop.ChangeGColour", [](const TCardTable& t) { return Drop(t).ChangeGColour(); },
                            [](TCardTable& t, bool v) { t.BackDrop().SetChangeGColour(v); }));
        p.push_back(Boolean("BackDrop.ChangeBColour", [](const TCardTable& t) { return Drop(t).ChangeBColour(); },
                            [](TCardTable& t, bool v) { t.BackDrop().SetChangeBColour(v); }));
        p.push_back(Enumeration("BackDrop.Direction", DirectionNames,
                                [](const TCardTable& t) { return int(Drop(t).Direction()); },
                                [](TCardTable& t, int v) {
                                    if (v >= 0 && v < int(DirectionNames.size()))
                                        t.BackDrop().SetDirection(TFillDirection(v));
                                }));
        p.push_back(Integer("BackDrop.StartR", [](const TCardTable& t) { return int(Drop(t).StartR()); },
                            [](TCardTable& t, int v) { if (IsByte(v)) t.BackDrop().SetStartR(ByteOf(v)); }));
        p.push_back(Integer("BackDrop.StartG", [](const TCardTable& t) { return int(Drop(t).StartG()); },
                            [](TCardTable& t, int v) { if (IsByte(v)) t.BackDrop().SetStartG(ByteOf(v)); }));
        p.push_back(Integer("BackDrop.StartB", [](const TCardTable& t) { return int(Drop(t).StartB()); },
                            [](TCardTable& t, int v) { if (IsByte(v)) t.BackDrop().SetStartB(ByteOf(v)); }));
        p.push_back(Colour("BackDrop.NewColorFrom", [](const TCardTable& t) { return Drop(t).NewColorFrom(); },
                           [](TCardTable& t, const QColor& c) { t.BackDrop().SetNewColorFrom(c); }));
        p.push_back(Colour("BackDrop.NewColorTo", [](const TCardTable& t) { return Drop(t).NewColorTo(); },
                           [](TCardTable& t, const QColor& c) { t.BackDrop().SetNewColorTo(c); }));
        p.push_back(Enumeration("BackDrop.NewType", StyleNames,
                                [](const TCardTable& t) { return int(Drop(t).NewType()); },
                                [](TCardTable& t, int v) {
                                    if (v >= 0 && v < int(StyleNames.size()))
                                        t.BackDrop().SetNewType(TGradientStyle(v));
                                }));
        p.push_back(Enumeration("JpegPerformance", JpegNames, [](const TCardTable& t) { return int(t.JpegPerformance()); },
                                [](TCardTable& t, int v) {
                                    if (v >= 0 && v < int(JpegNames.size()))
                                        t.SetJpegPerformance(TJpegPerformance(v));
                                }));
        p.push_back({"BackgroundPicture", TKind::Text, TWhen::NotEmpty, {},
                     [](const TCardTable& t) { return TextSetting(t.BackgroundPicture()); },
                     [](TCardTable& t, const TSetting& s) { t.SetBackgroundPicture(s.Text); }});
        p.push_back(Integer("CardSpeed", [](const TCardTable& t) { return t.CardSpeed(); },
                            [](TCardTable& t, int v) { t.SetCardSpeed(v); }));
        p.push_back(Boolean("DragAndDrop", [](const TCardTable& t) { return t.DragAndDrop(); },
                            [](TCardTable& t, bool v) { t.SetDragAndDrop(v); }));
        p.push_back(Boolean("DragFromDeck", [](const TCardTable& t) { return t.DragFromDeck(); },
                            [](TCardTable& t, bool v) { t.SetDragFromDeck(v); }));
        p.push_back(Boolean("DragFaceDown", [](const TCardTable& t) { return t.DragFaceDown(); },
                            [](TCardTable& t, bool v) { t.SetDragFaceDown(v); }));
        p.push_back(Boolean("LiftOffset", [](const TCardTable& t) { return t.LiftOffset(); },
                            [](TCardTable& t, bool v) { t.SetLiftOffset(v); }));
        p.push_back(Boolean("RepaintLabels", [](const TCardTable& t) { return t.RepaintLabels(); },
                            [](TCardTable& t, bool v) { t.SetRepaintLabels(v); }));
        p.push_back(Boolean("AutoResize", [](const TCardTable& t) { return t.AutoResize(); },
                            [](TCardTable& t, bool v) { t.SetAutoResize(v); }));
        p.push_back(Integer("MinWidth", [](const TCardTable& t) { return t.MinWidth(); },
                            [](TCardTable& t, int v) { if (v <= LargestSide) t.SetMinWidth(v); }));
        p.push_back(Integer("MinHeight", [](const TCardTable& t) { return t.MinHeight(); },
                            [](TCardTable& t, int v) { if (v <= LargestSide) t.SetMinHeight(v); }));
        p.push_back(Integer("TurnOverAnimationSpeed", [](const TCardTable& t) { return t.TurnOverAnimationSpeed(); },
                            [](TCardTable& t, int v) { t.SetTurnOverAnimationSpeed(v); }));
        p.push_back(Boolean("TurnOverAnimationVertical", [](const TCardTable& t) { return t.TurnOverAnimationVertical(); },
                            [](TCardTable& t, bool v) { t.SetTurnOverAnimationVertical(v); }));
        p.push_back(Boolean("TurnOverAnimationLift", [](const TCardTable& t) { return t.TurnOverAnimationLift(); },
                            [](TCardTable& t, bool v) { t.SetTurnOverAnimationLift(v); }));
        p.push_back(Integer("AutoShadeMode", [](const TCardTable& t) { return t.AutoShadeMode(); },
                            [](TCardTable& t, int v) { t.SetAutoShadeMode(v); }));
        p.push_back(Boolean("SlowMoveRegion", [](const TCardTable& t) { return t.SlowMoveRegion(); },
                            [](TCardTable& t, bool v) { t.SetSlowMoveRegion(v); }));
        p.push_back(Enumeration("ShadowMode", ShadowNames, [](const TCardTable& t) { return int(t.ShadowMode()); },
                                [](TCardTable& t, int v) {
                                    if (v >= 0 && v < int(ShadowNames.size()))
                                        t.SetShadowMode(TShadowMode(v));
                                }));
        p.push_back(Boolean("SoftShadow", [](const TCardTable& t) { return t.SoftShadow(); },
                            [](TCardTable& t, bool v) { t.SetSoftShadow(v); }));
        p.push_back(Boolean("SMR_WaitMode", [](const TCardTable& t) { return t.SMR_WaitMode(); },
                            [](TCardTable& t, bool v) { t.SetSMR_WaitMode(v); }));
        p.push_back(Boolean("FastMovementMode", [](const TCardTable& t) { return t.FastMovementMode(); },
                            [](TCardTable& t, bool v) { t.SetFastMovementMode(v); }));
        p.push_back(Boolean("HQDragShade", [](const TCardTable& t) { return t.HQDragShade(); },
                            [](TCardTable& t, bool v) { t.SetHQDragShade(v); }));
        p.push_back(Integer("HQDragShadeColour", [](const TCardTable& t) { return t.HQDragShadeColour(); },
                            [](TCardTable& t, int v) { t.SetHQDragShadeColour(v); }));
        return p;
    }();
    return properties;
}

const TPropertyDef* FindProperty(std::string_view name)
{
    for (const TPropertyDef& def : Properties())
        if (SameIdent(def.Name, name))
            return &def;
    return nullptr;
}

bool IsSnapshotName(std::string_view name)
{
    const auto& names = SnapshotNames();
    return std::any_of(names.begin(), names.end(), [name](std::string_view n) { return SameIdent(n, name); });
}

bool Stored(const TPropertyDef& def, const TSetting& value)
{
    switch (def.When) {
    case TWhen::Always:
        return true;
    case TWhen::NotZero:
    case TWhen::NotDefault:
        return value.Int != 0;
    case TWhen::WhenFalse:
        return !value.Bool;
    case TWhen::NotEmpty:
        return !value.Text.empty();
    case TWhen::Never:
        return false;
    }
    return true;
}

TValue StreamValue(const TPropertyDef& def, const TSetting& s)
{
    switch (def.Kind) {
    case TKind::Integer:
        return TValue::Integer(s.Int);
    case TKind::Boolean:
        return TValue::Boolean(s.Bool);
    case TKind::Text:
        return TValue::String(s.Text);
    case TKind::Colour:
        if (const auto name = NameOf(ColourNames, s.Int))
            return TValue::Identifier(std::string(*name));
        return TValue::Integer(s.Int);
    case TKind::Cursor:
        if (const auto name = NameOf(CursorNames, s.Int))
            return TValue::Identifier(std::string(*name));
        return TValue::Integer(s.Int);
    case TKind::Enumeration:
        return TValue::Identifier(std::string(def.Idents[std::size_t(s.Int)]));
    }
    return TValue::Integer(s.Int);
}

std::optional<std::int64_t> IdentNumber(const TPropertyDef& def, std::string_view ident)
{
    switch (def.Kind) {
    case TKind::Colour:
        return NumberOf(ColourNames, ident);
    case TKind::Cursor:
        return NumberOf(CursorNames, ident);
    case TKind::Enumeration:
        for (std::size_t i = 0; i < def.Idents.size(); ++i)
            if (SameIdent(def.Idents[i], ident))
                return std::int64_t(i);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// A stored value the property can take, or nullopt.
std::optional<TSetting> Accept(const TPropertyDef& def, const TValue& value)
{
    TSetting s;
    s.Name = std::string(def.Name);
    s.Kind = def.Kind;
    switch (def.Kind) {
    case TKind::Boolean:
        if (value.Kind != TValue::TKind::Boolean)
            return std::nullopt;
        s.Bool = value.Bool;
        return s;
    case TKind::Text:
        if (value.Kind != TValue::TKind::Text)
            return std::nullopt;
        s.Text = value.Text;
        return s;
    case TKind::Integer:
    case TKind::Colour:
    case TKind::Cursor:
    case TKind::Enumeration:
        if (value.Kind == TValue::TKind::Integer) {
            if (def.Kind == TKind::Enumeration && (value.Int < 0 || value.Int >= std::int64_t(def.Idents.size())))
                return std::nullopt;
            s.Int = value.Int;
            return s;
        }
        if (value.Kind == TValue::TKind::Ident) {
            const auto number = IdentNumber(def, value.Text);
            if (!number)
                return std::nullopt;
            s.Int = *number;
            return s;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::string Quoted(const std::string& text)
{
    std::string out = "'";
    for (const char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

std::string Unquoted(std::string_view text)
{
    if (text.size() < 2 || text.front() != '\'' || text.back() != '\'')
        return std::string(text);
    std::string out;
    const std::string_view inner = text.substr(1, text.size() - 2);
    for (std::size_t i = 0; i < inner.size(); ++i) {
        out += inner[i];
        if (inner[i] == '\'' && i + 1 < inner.size() && inner[i + 1] == '\'')
            ++i;
    }
    return out;
}

std::optional<std::int64_t> Decimal(std::string_view text)
{
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return value;
}

void SetError(std::string* error, std::string text)
{
    if (error != nullptr)
        *error = std::move(text);
}

} // namespace

const std::vector<std::string_view>& SnapshotNames()
{
    static const std::vector<std::string_view> names{"cno", "dfu", "cv",    "cs",  "fu",  "st",  "di", "cx",
                                                      "cy",  "ft",  "nocot", "cot", "cms", "dsd", "ds", "cr"};
    return names;
}

std::string WriteStatus(const TCardTable& table)
{
    componentstream::TComponent component;
    component.ClassName = "TCardTable";
    component.Name = table.objectName().isEmpty() ? "CardTable1" : table.objectName().toStdString();
    for (const TPropertyDef& def : Properties()) {
        const TSetting value = def.Get(table);
        if (Stored(def, value))
            component.Properties.push_back({std::string(def.Name), StreamValue(def, value)});
    }
    for (const std::string_view name : SnapshotNames())
        component.Properties.push_back({std::string(name), std::nullopt});
    return componentstream::WriteResource(component);
}

std::optional<TStatus> ReadStatus(std::string_view bytes, std::string* error)
{
    std::string why;
    const auto component = componentstream::ReadResource(bytes, IsSnapshotName, &why);
    if (!component) {
        SetError(error, why);
        return std::nullopt;
    }
    if (!SameIdent(component->ClassName, "TCardTable")) {
        SetError(error, "it holds a " + component->ClassName + ", not a card table");
        return std::nullopt;
    }
    TStatus status;
    for (const componentstream::TProperty& property : component->Properties) {
        if (!property.Value) {
            TSetting bare;
            bare.Name = property.Name;
            bare.Bare = true;
            status.push_back(std::move(bare));
            continue;
        }
        const TPropertyDef* def = FindProperty(property.Name);
        if (def == nullptr) {
            SetError(error, "the card table has no property " + property.Name);
            return std::nullopt;
        }
        auto setting = Accept(*def, *property.Value);
        if (!setting) {
            SetError(error, "the value of " + property.Name + " is not valid");
            return std::nullopt;
        }
        status.push_back(std::move(*setting));
    }
    return status;
}

void ApplyStatus(TCardTable& table, const TStatus& status)
{
    for (const TSetting& setting : status) {
        if (setting.Bare)
            continue;
        if (const TPropertyDef* def = FindProperty(setting.Name))
            def->Set(table, setting);
    }
}

std::string Describe(const TSetting& setting)
{
    if (setting.Bare)
        return setting.Name;
    std::string value;
    switch (setting.Kind) {
    case TKind::Integer:
        value = std::to_string(setting.Int);
        break;
    case TKind::Boolean:
        value = setting.Bool ? "True" : "False";
        break;
    case TKind::Text:
        value = Quoted(setting.Text);
        break;
    case TKind::Colour:
        value = std::string(NameOf(ColourNames, setting.Int).value_or(std::to_string(setting.Int)));
        break;
    case TKind::Cursor:
        value = std::string(NameOf(CursorNames, setting.Int).value_or(std::to_string(setting.Int)));
        break;
    case TKind::Enumeration: {
        const TPropertyDef* def = FindProperty(setting.Name);
        value = def != nullptr ? std::string(def->Idents[std::size_t(setting.Int)]) : std::to_string(setting.Int);
        break;
    }
    }
    return setting.Name + " = " + value;
}

std::optional<TSetting> ParseSetting(std::string_view name, std::string_view text, std::string* error)
{
    const TPropertyDef* def = FindProperty(name);
    if (def == nullptr) {
        SetError(error, "the card table has no property " + std::string(name));
        return std::nullopt;
    }
    std::optional<TValue> value;
    switch (def->Kind) {
    case TKind::Boolean:
        if (SameIdent(text, "True"))
            value = TValue::Boolean(true);
        else if (SameIdent(text, "False"))
            value = TValue::Boolean(false);
        break;
    case TKind::Text:
        value = TValue::String(Unquoted(text));
        break;
    default:
        if (const auto number = Decimal(text))
            value = TValue::Integer(*number);
        else
            value = TValue::Identifier(std::string(text));
        break;
    }
    std::optional<TSetting> setting = value ? Accept(*def, *value) : std::nullopt;
    if (!setting)
        SetError(error, "\"" + std::string(text) + "\" is not a value of " + std::string(def->Name));
    return setting;
}

void ApplyProgramSettings(TCardTable& table)
{
    table.setObjectName(QStringLiteral("CardTable1"));
    table.SetAlign(alClient);
    table.SetDragAndDrop(true);
    table.SetPlaceDeckOffset(7);
    table.SetSlowMoveRegion(true);
    table.SetSMR_WaitMode(true);
    table.SetFastMovementMode(false);
    table.SetLiftOffset(true);
    table.SetTurnOverAnimationLift(true);
}

} // namespace tablestatus
