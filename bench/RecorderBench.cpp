// The recorder's costs inside the sound-block path: taking one block, delivering one played block.
#include <benchmark/benchmark.h>

#include "platform/files/FileSystem.h"
#include "platform/profile/SettingsStore.h"
#include "recorder/clsWavFile.h"

#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

std::string benchFolder() {
    const auto dir = std::filesystem::temp_directory_path() / ("nerix-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir.string();
}

} // namespace

static void BM_AddSamples2048(benchmark::State& state) {
    files::PosixFileSystem fs;
    profile::MemorySettingsStore settings;
    const std::string folder = benchFolder();
    recorder::clsWavFile wav(settings, fs, folder);
    wav.TempFileName = folder + "/bench.tmp";
    wav.OpenRecording();
    std::vector<int16_t> block(2048, 100);
    for (auto _ : state) {
        wav.AddSamples(block, 2048);
        if (wav.BufferFull()) {
            state.PauseTiming();
            wav.WriteToDisk();
            state.ResumeTiming();
        }
    }
    wav.CloseFile();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AddSamples2048);

static void BM_GetNextSamples2048(benchmark::State& state) {
    files::PosixFileSystem fs;
    profile::MemorySettingsStore settings;
    const std::string folder = benchFolder();
    {
        recorder::clsWavFile rec(settings, fs, folder);
        rec.setDecimator(int32_t(state.range(0)));
        rec.TempFileName = folder + "/bench.wav";
        rec.OpenRecording();
        std::vector<int16_t> block(2048, 100);
        for (int i = 0; i < 256; ++i) {
            rec.AddSamples(block, 2048);
            if (rec.BufferFull()) rec.WriteToDisk();
        }
        rec.CloseRecording();
    }
    recorder::clsWavFile wav(settings, fs, folder);
    wav.setFileName(folder + "/bench.wav");
    wav.OpenFile();
    wav.Looping = true;
    wav.Play();
    std::vector<int16_t> out(2048);
    for (auto _ : state) {
        wav.GetNextSamples(out, 2048);
        benchmark::DoNotOptimize(out.data());
        if (wav.PlayerMode() != recorder::PlayerMode::Playing || wav.PlayEnd) {
            state.PauseTiming();
            wav.Play();
            state.ResumeTiming();
        }
    }
    wav.CloseFile();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_GetNextSamples2048)->Arg(1)->Arg(4)->Arg(16);
