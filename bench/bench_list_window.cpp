// The material list window filled with 1,000, 10,000 and 30,000 materials
// (150 index points each) in the running program: a fill as start-up makes
// it, every row new and every name one the list has not shown before, and a
// refill of the same collection, as after each change the user stores. The
// program runs on a demo folder of its own, on the display Qt is given
// (offscreen unless QT_QPA_PLATFORM names another). Wall-clock times.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "BenchGlasses.h"
#include "app/DemoFolder.h"
#include "app/qt/KalvenorProgram.h"
#include "model/GlassesList.h"
#include "platform/Clock.h"
#include "platform/Settings.h"
#include "shell/qt/frmGlassesList.h"
#include "shell/qt/frmMainMDI.h"

namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "bench_list_window";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// The program started on a demo whose collection holds count materials.
class Running {
public:
    explicit Running(int count) : m_count(count) {
        std::string error;
        if (!MakeDemo(m_folder.path(), m_settings, m_clock, error)) std::abort();
        const DemoLayout demo = DemoFolders(m_folder.path());
        GlassesList store(m_boxes, m_clock, demo.program);
        for (int i = 1; i <= count; ++i) store.AddGlass(benchGlass(i), false);
        if (!store.SaveUserGlasses()) std::abort();
        ::setenv("KALVENOR_HOME", demo.program.c_str(), 1);
        m_program = std::make_unique<KalvenorProgram>(m_boxes, m_settings);
        m_program->start();
        QApplication::processEvents();
    }

    GlassesList& store() { return m_program->app().store(); }
    frmGlassesList& list() { return *m_program->mainWindow()->listWindow(); }
    int count() const { return m_count; }

private:
    int m_count;
    BenchFolder m_folder;
    MemorySettings m_settings;
    SystemClock m_clock;
    SilentBoxes m_boxes;
    std::unique_ptr<KalvenorProgram> m_program;
};

// One program for each size, for the whole run; they go before the application.
Running& running(int count) {
    application();
    static std::map<int, std::unique_ptr<Running>> made;
    auto& r = made[count];
    if (!r) r = std::make_unique<Running>(count);
    return *r;
}

void BM_ListFill(benchmark::State& state) {
    Running& r = running(static_cast<int>(state.range(0)));
    std::vector<GlassRecord> glasses = r.store().GetGlasses();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        for (int i = 1; i <= r.count(); ++i)
            glasses[static_cast<std::size_t>(i - 1)].definition.name.set("BENCH-" + std::to_string(i) + "-" +
                                                                          std::to_string(round));
        r.store().SetGlasses(glasses);
        r.list().grid().setMaxRows(0);
        state.ResumeTiming();
        r.store().RefreshListWindow();
    }
    if (r.list().grid().maxRows() != r.count()) state.SkipWithError("wrong row count");
    state.counters["rows"] = r.count();
}

void BM_ListRefill(benchmark::State& state) {
    Running& r = running(static_cast<int>(state.range(0)));
    for (auto _ : state) r.store().RefreshListWindow();
    if (r.list().grid().maxRows() != r.count()) state.SkipWithError("wrong row count");
    state.counters["rows"] = r.count();
}

}  // namespace

BENCHMARK(BM_ListFill)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListRefill)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime();
