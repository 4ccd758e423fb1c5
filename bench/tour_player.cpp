// The tour's player: a scripted player that plans a few moves ahead over the last frame, roaming safely or
// hunting the enemy down.
#include "tour_player.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstddef>
#include <utility>

#include "content/assets.h"
#include "devices/keyboard.h"
#include "display/display.h"
#include "game/game_flow.h"
#include "game/play_state.h"

namespace coilrun {
namespace {

// The game kills the snake when all four probes of its head find the body's colour.
constexpr int kProbesThatKill = 4;

// Where the head is and which way it points, and where it has been since now: those discs will be body by
// the time the head could run onto them, though the last frame does not show them yet.
struct Head {
  int x;
  int y;
  int heading;
  std::vector<std::pair<int, int>> path;
};

Head CurrentHead() {
  const int x = Play.TrailX[static_cast<size_t>(Play.HeadIndex)];
  const int y = Play.TrailY[static_cast<size_t>(Play.HeadIndex)];
  return Head{x, y, Play.Heading, {{x, y}}};
}

bool OnBody(const Head& head, int x, int y) {
  if (Canvas->pixels[static_cast<size_t>(y * 640 + x)] == Play.BodyColour) return true;
  for (const auto& [px, py] : head.path) {
    const int dx = x - px;
    const int dy = y - py;
    if (dx >= 0 && dx < kSegmentSize && dy >= 0 && dy < kSegmentSize &&
        DiscMask[static_cast<size_t>(dy * kSegmentSize + dx)] != 0) {
      return true;
    }
  }
  return false;
}

// Holds `turn` (-1 left, 0 none, +1 right) for `ticks` ticks; false when that would kill the snake: the
// border, or all four probes of the head on the body, as the game decides it.
bool Advance(Head* head, int turn, int ticks) {
  for (int t = 0; t < ticks; ++t) {
    head->heading = (head->heading + turn) & 31;
    head->x += static_cast<int>(CosTable[static_cast<size_t>(head->heading)] * Play.Speed);
    head->y += static_cast<int>(SinTable[static_cast<size_t>(head->heading)] * Play.Speed);
    if (head->x < 14 || head->y < 14 || head->x + 12 > 626 || head->y + 12 > 466) return false;
    int onBody = 0;
    for (int probeX : {2, 10}) {
      for (int probeY : {2, 10}) onBody += OnBody(*head, head->x + probeX, head->y + probeY) ? 1 : 0;
    }
    if (onBody >= kProbesThatKill) return false;
    head->path.emplace_back(head->x, head->y);
  }
  return true;
}

// The field as a grid of head-sized cells, each blocked when it holds a pixel of the body's colour or lies
// outside the field; made afresh from the last frame at every tick.
constexpr int kCell = 20;
constexpr int kGridWidth = 640 / kCell;
constexpr int kGridHeight = 480 / kCell;
std::vector<bool> blocked;

void MapBlockedCells() {
  blocked.assign(static_cast<size_t>(kGridWidth * kGridHeight), false);
  for (int cy = 0; cy < kGridHeight; ++cy) {
    for (int cx = 0; cx < kGridWidth; ++cx) {
      bool body = cx * kCell < kFieldLeft || cy * kCell < kFieldTop || (cx + 1) * kCell > kFieldRight ||
                  (cy + 1) * kCell > kFieldBottom;
      for (int y = cy * kCell; y < (cy + 1) * kCell && !body; ++y) {
        for (int x = cx * kCell; x < (cx + 1) * kCell && !body; ++x) {
          body = Canvas->pixels[static_cast<size_t>(y * 640 + x)] == Play.BodyColour;
        }
      }
      blocked[static_cast<size_t>(cy * kGridWidth + cx)] = body;
    }
  }
}

// How many free cells can be reached from the cell under (x, y): the room the snake has there.
int Room(int x, int y) {
  const int start = (y / kCell) * kGridWidth + x / kCell;
  std::vector<bool> seen(blocked.size(), false);
  std::vector<int> queue = {start};
  seen[static_cast<size_t>(start)] = true;
  for (size_t i = 0; i < queue.size(); ++i) {
    const int cell = queue[i];
    const int cx = cell % kGridWidth;
    const int cy = cell / kGridWidth;
    const int next[4][2] = {{cx - 1, cy}, {cx + 1, cy}, {cx, cy - 1}, {cx, cy + 1}};
    for (const auto& n : next) {
      if (n[0] < 0 || n[1] < 0 || n[0] >= kGridWidth || n[1] >= kGridHeight) continue;
      const auto index = static_cast<size_t>(n[1] * kGridWidth + n[0]);
      if (seen[index] || blocked[index]) continue;
      seen[index] = true;
      queue.push_back(static_cast<int>(index));
    }
  }
  return static_cast<int>(queue.size());
}

// How far ahead the player looks: a few moves, each a turn held for some ticks.
constexpr int kMoveTicks = 6;
constexpr int kMovesAhead = 3;
constexpr int kEscapeTicks = 16;

// The most room that any way of going on from `head` leaves, or -1 when every way runs into something.
int BestRoom(const Head& head, int movesLeft) {
  if (movesLeft == 0) {
    // A place is only worth reaching if the snake can still turn half round or run on from it.
    for (int turn = -1; turn <= 1; ++turn) {
      Head escape = head;
      if (Advance(&escape, turn, kEscapeTicks)) return Room(head.x + 6, head.y + 6);
    }
    return -1;
  }
  int best = -1;
  for (int turn = -1; turn <= 1; ++turn) {
    Head next = head;
    if (!Advance(&next, turn, kMoveTicks)) continue;
    best = std::max(best, BestRoom(next, movesLeft - 1));
  }
  return best;
}

// The first of the turns given, in order of preference, that leaves nearly as much room as the best.
std::vector<uint8_t> ChooseNow(std::initializer_list<int> turns) {
  MapBlockedCells();
  int rooms[3];
  int best = -1;
  for (int turn = -1; turn <= 1; ++turn) {
    Head next = CurrentHead();
    rooms[turn + 1] = Advance(&next, turn, kMoveTicks) ? BestRoom(next, kMovesAhead - 1) : -1;
    best = std::max(best, rooms[turn + 1]);
  }
  for (int turn : turns) {
    if (rooms[turn + 1] >= 0 && rooms[turn + 1] * 10 >= best * 9) {
      if (turn == 0) return {};
      return {turn > 0 ? kKeyRight : kKeyLeft};
    }
  }
  return {};
}

// Turns are chosen anew once a move: a turn is held for a whole move, so that the plan it was chosen for is
// still open when the next is made. The turn chosen last, and the tick it was chosen at:
uint64_t chosenAt = 0;
std::vector<uint8_t> chosen;

std::vector<uint8_t> Choose(std::initializer_list<int> turns) {
  if (TicksPlayed() > chosenAt && TicksPlayed() < chosenAt + kMoveTicks && Play.Dead == 0) return chosen;
  chosenAt = TicksPlayed();
  chosen = ChooseNow(turns);
  return chosen;
}

std::vector<uint8_t> Hunt() {
  const double dx = (Play.EnemyX + 25) - (Play.TrailX[static_cast<size_t>(Play.HeadIndex)] + 6);
  const double dy = (Play.EnemyY + 20) - (Play.TrailY[static_cast<size_t>(Play.HeadIndex)] + 6);
  const int wanted = static_cast<int>(std::lround(std::atan2(dy, dx) / (std::numbers::pi / 16))) & 31;
  const int error = (wanted - Play.Heading) & 31;
  const int preferred = error == 0 ? 0 : (error < 16 ? 1 : -1);
  if (preferred == 0) return Choose({0, 1, -1});
  return Choose({preferred, 0, -preferred});
}

// Roaming: straight on while that leaves room, turning away from whatever is ahead.
std::vector<uint8_t> Roam() {
  return Choose({0, -1, 1});
}

bool GameOver() {
  return Play.Lives < 0 || Play.StageIndex >= kStageCount;
}

// Ticks of the current stage so far, and the stage they were counted for.
uint64_t stageStartTick = 0;
int countedStage = -1;
// Ticks played at the last read: a read at a new count is the first of a tick.
uint64_t ticksAtLastRead = 0;

// Return does nothing in play and is not pressed there; elsewhere (a wait, the menu, the pause dialog) it
// is held at every other read, since a wait ends only on a new press.
bool PressingReturn(uint64_t read) {
  const bool tickRead = TicksPlayed() != ticksAtLastRead;
  ticksAtLastRead = TicksPlayed();
  return !tickRead && read % 2 == 0;
}

}  // namespace

void ResetTourPlayer() {
  countedStage = -1;
  ticksAtLastRead = TicksPlayed();
}

std::vector<uint8_t> TourPlayerKeys(uint64_t gameStartTick, double roamSeconds, uint64_t read) {
  const bool pressing = PressingReturn(read);
  if (TicksPlayed() > gameStartTick && GameOver()) {
    return pressing ? std::vector<uint8_t>{kKeyUp, kKeyReturn} : std::vector<uint8_t>{};
  }
  std::vector<uint8_t> keys;
  if (pressing) keys.push_back(kKeyReturn);
  if (TicksPlayed() <= gameStartTick) return keys;
  if (countedStage != Play.StageIndex) {
    countedStage = Play.StageIndex;
    stageStartTick = TicksPlayed();
  }
  const double periodMs = std::max(StageTable[Play.StageIndex].FrameDelayMs + 1.0, 1000.0 / 60.0);
  const bool roaming = static_cast<double>(TicksPlayed() - stageStartTick) * periodMs < roamSeconds * 1000.0;
  for (uint8_t key : roaming ? Roam() : Hunt()) keys.push_back(key);
  return keys;
}

}  // namespace coilrun
