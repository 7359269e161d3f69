#pragma once

#include "shell/ShowRandom.h"
#include "shell/Starfield.h"

#include <QImage>
#include <QObject>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

class TCard;
class TCardTable;
class TMergePic;
class TPictureView;
class QWidget;

// What the win show needs of the window around it.
class TWinAnimHost {
public:
    virtual ~TWinAnimHost() = default;
    virtual void Sound(const std::string& name, int mode, int milliseconds) = 0;
    // False when the music cannot play (no library, sound off).
    virtual bool Stream(const std::string& name, int loop) = 0;
    virtual void SoundStop(const std::string& name, bool stream) = 0;
    virtual bool FlourishRunning() const = 0;
    // While the show runs, a synchronous cue ends early once `cutShort` says
    // so; an empty function gives the cues their full length again.
    virtual void SetSoundBreak(std::function<bool()> cutShort) { (void)cutShort; }
};

// The part of a top-level window that the window draws on itself: all of
// it but the menu bar.
QRect ClientArea(const QWidget& window);

// One show: which, and for what kind of game.
struct TWinShow {
    // "Stars", "New", "Scribble", "Slide", "None"; anything else gives the
    // explosion and the shake only.
    std::string Option;
    // A game still open gets the full show; a closed one a short version.
    bool OpenGame = false;
    // The Clock's (and The Dial's) card that spins first; null elsewhere.
    const TCard* SpriteCard = nullptr;
    // The card pack's first card, zoomed at the end of "New" in an open game.
    const TCard* FirstCard = nullptr;
    // The window's picture (the game preview), laid over "New".
    QImage Picture;
    std::filesystem::path ProgramFolder;
    // The card set's folder, for the card fill of "Stars".
    std::filesystem::path CardSetFolder;
};

// The show played when a game is won. It draws on a view laid over the
// window's client area (the table and the bars around it) and never on the
// table itself, so that taking the view away leaves the window exactly as it
// was. Every wait lets the window repaint; a key or
// a click ends the show at once. While the table is not drawing every wait
// is over at once and only the cues and the trace lines remain.
class TWinAnim : public QObject {
public:
    TWinAnim(TCardTable& table, TWinAnimHost& host, TMergePic& mergePic);
    ~TWinAnim() override;

    void Run(const TWinShow& show);
    // Ends a running show at once (also what a key or a click does).
    void Stop() { Skipped = true; }
    bool Running() const { return Running_; }
    bool WasSkipped() const { return Skipped; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Clock = std::chrono::steady_clock;

    void ClockSprite(const TWinShow& show);
    void WaitForFlourish();
    void ExplodeAndShake();
    void SlideShow(const TWinShow& show);
    void Pan(const QImage& strip);
    void CoolColours(const TWinShow& show);
    void Scribble(const TWinShow& show);
    void Stars(const TWinShow& show);
    void CardFill(const TWinShow& show);
    bool StarFrames(std::chrono::steady_clock::time_point until, bool whiteout);
    void Reveal(const QImage& picture, Clock::time_point until);
    void Music();

    // True once the show is to end: the player asked, or nothing is drawn.
    bool Over() const;
    // Waits, letting the window repaint; false when the show is over.
    bool Wait(int milliseconds);
    bool Before(Clock::time_point until) const { return !Over() && Clock::now() < until; }
    void Cue(const std::string& name, int mode);
    void ShowCanvas();
    // Where the table lies on the view.
    QPoint TableOrigin() const;
    void RestoreTable();
    void Refresh(const QRect& rect);
    int RandomBelow(int n);

    TCardTable& Table;
    TWinAnimHost& Host;
    TMergePic& MergePic;
    TPictureView* Canvas;
    TShowRandom Random;
    TStarfield Starfield;
    QImage Still; // the client area as it was when the show began
    bool Running_ = false;
    bool Skipped = false;
};
