// Load and save of a collection of 10,000 materials (about 130 MB), beside
// what reading the same file (cat FILE > /dev/null, into one fresh buffer and
// into a buffer already touched) and copying it (cp, and cp followed by a
// flush to disk, since a save flushes) take on the same machine in the same
// run; and the start-up work without a window (the start-up sequence with the
// list filled on the in-memory grid) and a refresh of the list. Wall-clock
// times, warm page cache.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "BenchGlasses.h"
#include "model/GlassesList.h"
#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "platform/Clock.h"
#include "platform/MemoryGrid.h"
#include "platform/Settings.h"
#include "shell/AMain.h"
#include "shell/GlassesListLogic.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMaterials = 10000;

// One folder with the collection file for the whole run.
struct Collection {
    BenchFolder made;
    std::string folder = made.path();
    std::string file;
    std::string copy;
    SilentBoxes boxes;
    SystemClock clock;

    Collection() {
        file = folder + kCollectionFileName;
        copy = folder + "copy.DAT";
        GlassesList store(boxes, clock, folder);
        for (int i = 1; i <= kMaterials; ++i) store.AddGlass(benchGlass(i), false);
        if (!store.SaveUserGlasses()) std::abort();
    }
    std::int64_t bytes() const { return static_cast<std::int64_t>(fs::file_size(file)); }
};

Collection& collection() {
    static Collection c;
    return c;
}

void finish(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * collection().bytes());
    state.counters["MB"] = static_cast<double>(collection().bytes()) / 1e6;
}

void BM_LoadUserGlasses(benchmark::State& state) {
    Collection& c = collection();
    for (auto _ : state) {
        GlassesList store(c.boxes, c.clock, c.folder);
        store.LoadUserGlasses();
        if (store.Count() != kMaterials) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(store.Records().data());
    }
    finish(state);
}

void BM_SaveUserGlasses(benchmark::State& state) {
    Collection& c = collection();
    GlassesList store(c.boxes, c.clock, c.folder);
    store.LoadUserGlasses();
    for (auto _ : state) {
        if (!store.SaveUserGlasses()) state.SkipWithError("save failed");
    }
    finish(state);
}

void runShell(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError(command.c_str());
    }
    finish(state);
}

// The file read into one fresh buffer of its size, as a load must hold it in
// memory: the same read as cat plus the cost of new memory.
void BM_ReadIntoFreshBuffer(benchmark::State& state) {
    const std::size_t size = static_cast<std::size_t>(collection().bytes());
    for (auto _ : state) {
        const int fd = ::open(collection().file.c_str(), O_RDONLY);
        std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[size]);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(fd, buffer.get() + done, size - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        if (done != size) state.SkipWithError("short read");
        benchmark::DoNotOptimize(buffer.get());
    }
    finish(state);
}

// The whole file into buffer; false on a short read.
bool readWholeInto(std::vector<std::uint8_t>& buffer) {
    const int fd = ::open(collection().file.c_str(), O_RDONLY);
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t n = ::read(fd, buffer.data() + done, buffer.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return done == buffer.size();
}

// The same read into a buffer whose pages are already in place: the floor a
// load cannot go below.
void BM_ReadIntoTouchedBuffer(benchmark::State& state) {
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(collection().bytes()));
    readWholeInto(buffer);  // every page in place before the clock starts
    for (auto _ : state) {
        if (!readWholeInto(buffer)) state.SkipWithError("short read");
        benchmark::DoNotOptimize(buffer.data());
    }
    finish(state);
}

// The main window as start-up drives it, without a window: the list's logic
// over the in-memory grid, loaded as the list window loads it.
class ListOnlyMainWindow : public IMainWindowStart {
public:
    explicit ListOnlyMainWindow(AMain& app) : m_app(app) {}
    void Display() override {}
    void LoadList() override {
        m_list.emplace(m_app.store(), m_app.forms(), m_grid);
        m_app.store().SetRefreshCallback([this] { m_list->UpdateTable(); });
        m_list->Form_Load();
    }
    const MemoryGrid& grid() const { return m_grid; }

private:
    AMain& m_app;
    MemoryGrid m_grid;
    std::optional<GlassesListLogic> m_list;
};

// Main from the program folder to the filled list, as the program starts.
void BM_StartUpWithoutWindow(benchmark::State& state) {
    Collection& c = collection();
    ::setenv("KALVENOR_HOME", c.folder.c_str(), 1);
    for (auto _ : state) {
        MemorySettings settings;
        RecordingBusyCursor cursor;
        AMain app(c.boxes, c.clock, settings, cursor);
        ListOnlyMainWindow window(app);
        app.Main(window);
        if (window.grid().maxRows() != kMaterials) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(window.grid().text(1, kMaterials).data());
    }
    finish(state);
}

// The list refilled after a change of the collection.
void BM_ListRefresh(benchmark::State& state) {
    Collection& c = collection();
    GlassesList store(c.boxes, c.clock, c.folder);
    store.LoadUserGlasses();
    ManageForms forms(c.boxes, [] { return true; });
    MemoryGrid grid;
    GlassesListLogic list(store, forms, grid);
    list.Form_Load();
    for (auto _ : state) {
        list.UpdateTable();
        benchmark::DoNotOptimize(grid.text(1, kMaterials).data());
    }
    state.counters["rows"] = grid.maxRows();
}

void BM_CatToDevNull(benchmark::State& state) { runShell(state, "cat '" + collection().file + "' > /dev/null"); }

void BM_Cp(benchmark::State& state) {
    runShell(state, "cp '" + collection().file + "' '" + collection().copy + "'");
}

void BM_CpAndSync(benchmark::State& state) {
    runShell(state, "cp '" + collection().file + "' '" + collection().copy + "' && sync '" + collection().copy + "'");
}

}  // namespace

BENCHMARK(BM_CatToDevNull)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadIntoFreshBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadIntoTouchedBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadUserGlasses)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartUpWithoutWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListRefresh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Cp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CpAndSync)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveUserGlasses)->Unit(benchmark::kMillisecond)->UseRealTime();
