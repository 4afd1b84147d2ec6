// When the dictionary file, changed by another program, is loaded again: once it has stayed
// the same for a whole tick, never during a save, and again at the next tick when the load
// could not read it.
#include "file_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Tick {
    bool changed;
    int state;  // which state of the file the stamp shows
    bool saveInFlight;
    FileWatchAction action;
};

DictFileStamp State(int state) {
    DictFileStamp stamp = {};
    stamp.volume = 7;
    stamp.identity = 100;
    stamp.writeTime = 1000 + static_cast<uint64_t>(state);
    stamp.size = 50 + static_cast<uint64_t>(state);
    return stamp;
}

struct WatchCase {
    const char* what;
    std::vector<Tick> ticks;
};

const FileWatchAction NOTHING = FILE_WATCH_NOTHING;
const FileWatchAction RELOAD = FILE_WATCH_RELOAD;

TEST(FileWatchTest, AChangeIsLoadedOnceTheFileHasSettled) {
    const WatchCase cases[] = {
        {"nothing changes", {{false, 0, false, NOTHING}, {false, 0, false, NOTHING}}},
        {"a change, then the same for a tick", {{true, 1, false, NOTHING}, {true, 1, false, RELOAD}}},
        {"still being written", {{true, 1, false, NOTHING}, {true, 2, false, NOTHING}, {true, 3, false, NOTHING},
                                 {true, 3, false, RELOAD}}},
        {"not during a save", {{true, 1, false, NOTHING}, {true, 1, true, NOTHING}, {true, 1, false, RELOAD}}},
        {"a load that could not read it is tried at the next tick",
         {{true, 1, false, NOTHING}, {true, 1, false, RELOAD}, {true, 1, false, RELOAD}}},
        {"loaded: no change any more, the next change starts anew",
         {{true, 1, false, NOTHING}, {true, 1, false, RELOAD}, {false, 1, false, NOTHING}, {true, 2, false, NOTHING},
          {true, 2, false, RELOAD}}},
        {"a change that went away again", {{true, 1, false, NOTHING}, {false, 0, false, NOTHING},
                                           {true, 1, false, NOTHING}}},
        {"another file with the same time and size", {{true, 1, false, NOTHING}, {true, 4, false, NOTHING}}},
    };
    for (const WatchCase& c : cases) {
        SCOPED_TRACE(c.what);
        FileWatch watch = {};
        for (size_t i = 0; i < c.ticks.size(); ++i) {
            const Tick& tick = c.ticks[i];
            DictFileStamp now = State(tick.state);
            if (tick.state == 4) {
                now = State(1);
                now.identity = 101;  // put in its place by a rename
            }
            EXPECT_EQ(tick.action, OnFileWatchTick(&watch, tick.changed, now, tick.saveInFlight)) << "tick " << i;
        }
    }
}

}  // namespace
