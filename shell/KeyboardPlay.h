#pragma once

#include "shell/TablePlaces.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class TCard;
class TCardTable;
class TEngine;

// Playing with the keys: a focus on one place of the table (and one card of
// a fan), moved by the arrow keys, Home/End and Tab; Space or Enter press
// the focused card as the left button would, so a pick-up and its drop take
// the mouse's own drop path. The table draws the ring; this class decides
// where it goes.
class TKeyboardPlay : public QObject {
public:
    TKeyboardPlay(TEngine& engine, TCardTable& table);
    ~TKeyboardPlay() override;

    // A key while a game is in play; true when it was one of ours.
    bool KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Puts cards lifted by keys back (a restore: no points, no record).
    void CancelLift();
    bool Lifted() const;

    // Commands the keys reach through the window.
    std::function<void()> OnAutomoves;
    std::function<void()> OnRedeal;
    // False while keys must not play (no game in play, the start screen up).
    std::function<bool()> MayPlay;

    // The focused place and card, for the tests and assistive technology.
    struct TFocus {
        int Kind = -1;
        int Pile = -1;
        TCard* Card = nullptr; // null: the place's top (or the empty place)
    };
    const TFocus& Focus() const { return Focus_; }
    std::vector<TTablePlace> Places() const;
    // The focused place's index in Places(); -1 when none is focused.
    int FocusIndex() const;
    QString FocusDescription() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowDeal();
    // After the mouse, a command or another key: the ring back on the focused pile.
    void Refresh();
    void Navigate(int key, Qt::KeyboardModifiers modifiers);
    void MoveAlongFan(int direction);
    void MoveToPlace(int index);
    void CycleGroup(int direction);
    void PressOrDrop();
    void SendToFoundation();
    TCard* FocusedCard(const TTablePlace& place) const;
    int FocusedCardIndex(const TTablePlace& place) const;
    void ShowFocus();
    void ShowLiftOver(const TTablePlace& place);
    int DropIndexFor(const TTablePlace& place) const;
    QPoint LandingPoint(const TTablePlace& place) const;
    void Announce();

    TEngine& Engine;
    TCardTable& Table;
    TFocus Focus_;
    TLiftedRun Lift;
    QPoint LiftHome; // where the lifted card lay
    bool RefreshPending = false;
    bool RingOn = false;       // the player has used a key in this deal
    std::string DealSignature; // game and seed of the deal the focus belongs to
};
