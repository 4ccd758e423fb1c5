// The scripted player: homing in on the enemy while keeping clear of the border and the body.
#include "scripted_player.h"

#include <cmath>
#include <numbers>
#include <cstddef>

#include "content/assets.h"
#include "devices/keyboard.h"
#include "display/display.h"
#include "game/game_flow.h"
#include "game/play_state.h"

namespace coilrun {

namespace {

// Ticks looked ahead for danger, and how far from the border the head keeps.
constexpr int kLookAhead = 14;
constexpr int kBorderMargin = 14;

int HeadX() { return Play.TrailX[static_cast<size_t>(Play.HeadIndex)]; }
int HeadY() { return Play.TrailY[static_cast<size_t>(Play.HeadIndex)]; }

bool OnBody(int x, int y) {
  for (int dx : {2, 10}) {
    for (int dy : {2, 10}) {
      if (Canvas->pixels[static_cast<size_t>((y + dy) * kScreenWidth + x + dx)] == Play.BodyColour) return true;
    }
  }
  return false;
}

// Whether holding `turn` (-1 left, 0 none, +1 right) for the look-ahead from the head's place would run
// near the border or onto body-coloured pixels of the last frame.
bool Dangerous(int turn) {
  int x = HeadX();
  int y = HeadY();
  int heading = Play.Heading;
  for (int t = 0; t < kLookAhead; ++t) {
    heading = (heading + turn) & 31;
    x += static_cast<int>(CosTable[static_cast<size_t>(heading)] * Play.Speed);
    y += static_cast<int>(SinTable[static_cast<size_t>(heading)] * Play.Speed);
    if (x < kBorderMargin || y < kBorderMargin || x + kSegmentSize > kScreenWidth - kBorderMargin ||
        y + kSegmentSize > kScreenHeight - kBorderMargin) {
      return true;
    }
    // Ticks well ahead probe the body as it is now; the snake's own neck does not reach them.
    if (t >= 2 && OnBody(x, y)) return true;
  }
  return false;
}

// Turns toward the enemy's middle, the shorter way round, unless that way runs into something.
std::vector<uint8_t> SteerToEnemy() {
  const double dx = (Play.EnemyX + kEnemyWidth / 2) - (HeadX() + kSegmentSize / 2);
  const double dy = (Play.EnemyY + kEnemyHeight / 2) - (HeadY() + kSegmentSize / 2);
  const int wanted = static_cast<int>(std::lround(std::atan2(dy, dx) / (std::numbers::pi / 16))) & 31;
  const int error = (wanted - Play.Heading) & 31;
  const int preferred = error == 0 ? 0 : (error < 16 ? 1 : -1);
  for (int turn : {preferred, 0, -preferred, preferred == 0 ? 1 : 0, preferred == 0 ? -1 : 0}) {
    if (!Dangerous(turn)) {
      if (turn == 0) return {};
      return {turn > 0 ? kKeyRight : kKeyLeft};
    }
  }
  return {};
}

bool GameOver() { return Play.Lives < 0 || Play.StageIndex >= kStageCount || Play.QuitChosen != 0; }

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

std::vector<uint8_t> ScriptedKeys(Plan plan, uint64_t ticksAtStart, uint64_t read) {
  const bool pressing = PressingReturn(read);
  const uint64_t ticks = TicksPlayed() - ticksAtStart;
  if (ticks > 0 && GameOver()) {
    return pressing ? std::vector<uint8_t>{kKeyUp, kKeyReturn} : std::vector<uint8_t>{};
  }
  std::vector<uint8_t> keys;
  if (pressing) keys.push_back(kKeyReturn);
  const bool homing = plan == Plan::kClearThenCrash || plan == Plan::kClearThenQuit;
  if ((homing && Play.StageIndex == 0 && ticks > 0) || plan == Plan::kHunt) {
    for (uint8_t key : SteerToEnemy()) keys.push_back(key);
  }
  if (plan == Plan::kQuitFromDialog && ticks >= 40) keys.push_back(kKeyEscape);
  if (plan == Plan::kClearThenQuit && Play.StageIndex == 1 && Play.HeadIndex >= 30) keys.push_back(kKeyEscape);
  return keys;
}

}  // namespace coilrun
