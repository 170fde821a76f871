#include "core/station_builder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/error.h"
#include "core/log.h"
#include "definitions/station_list.h"

namespace quorvane {

namespace {

// One detector's plausibility test and its share of every slot's sums. An implausible volume
// drops the detector from both measures in that slot; an implausible occupancy only from the
// occupancy. Written without branches and with the quiet comparisons, on pointers that do
// not alias, so that the compiler takes several slots at once (kept out of line: inlined, the
// pointers lose that promise and the loop runs slot by slot).
__attribute__((noinline)) void accumulateDetector(uint8_t* __restrict vol, float* __restrict occ,
                                                  int found, int* __restrict volumeSum,
                                                  float* __restrict occupancySum,
                                                  int* __restrict counted,
                                                  float* __restrict worst) {
    for (int k = 0; k < kSlotsPerDay; ++k) {
        const int rawVolume = vol[k];
        const int volumeOk = rawVolume <= kMaxPlausibleVolume;
        const int volume = volumeOk ? rawVolume : 0;
        const float loadedOccupancy = occ[k];
        const float rawOccupancy = volumeOk ? loadedOccupancy : 0.0f;
        // Branch-free on purpose (the loop vectorises): both comparisons as 0/1.
        const int occupancyOk =
            static_cast<int>(std::isgreaterequal(rawOccupancy, 0.0f)) &
            static_cast<int>(std::islessequal(rawOccupancy, kMaxPlausibleOccupancy));
        const float occupancy = occupancyOk ? rawOccupancy : 0.0f;
        vol[k] = static_cast<uint8_t>(volume);
        occ[k] = occupancy;
        volumeSum[k] += volume;
        occupancySum[k] += occupancy;  // single precision after every addition
        counted[k] += found & volumeOk & occupancyOk;
        worst[k] = std::isgreater(occupancy, worst[k]) ? occupancy : worst[k];
    }
}

}  // namespace

void combineStation(std::span<DetectorDay> detectors, OccMode mode, std::span<int16_t> volumeOut,
                    std::span<float> occupancyOut) {
    if (volumeOut.size() < kSlotsPerDay || occupancyOut.size() < kSlotsPerDay) {
        throw Error(errc::kSubscriptOutOfRange,
                    "Subscript out of range: a station row holds fewer than 2880 slots");
    }
    // Detector after detector over all slots: every slot still sees its detectors in list
    // order, so the single-precision sums are the same as slot after slot.
    std::array<int, kSlotsPerDay> volumeSum{};
    std::array<float, kSlotsPerDay> occupancySum{};
    std::array<int, kSlotsPerDay> counted{};
    std::array<float, kSlotsPerDay> worst{};
    for (DetectorDay& detector : detectors) {
        accumulateDetector(detector.vol.data(), detector.occ.data(), detector.found ? 1 : 0,
                           volumeSum.data(), occupancySum.data(), counted.data(), worst.data());
    }
    for (std::size_t k = 0; k < kSlotsPerDay; ++k) {
        if (volumeSum[k] > INT16_MAX) {
            throw Error(errc::kOverflow, "Overflow: the volume of slot " + std::to_string(k) +
                                             " sums to " + std::to_string(volumeSum[k]) +
                                             ", more than 32767");
        }
    }
    for (std::size_t k = 0; k < kSlotsPerDay; ++k) {
        volumeOut[k] = static_cast<int16_t>(volumeSum[k]);
    }
    if (mode != OccMode::Average) {
        std::copy(worst.begin(), worst.end(), occupancyOut.begin());
        return;
    }
    for (std::size_t k = 0; k < kSlotsPerDay; ++k) {
        // The sum of the counted detectors over their number, in single precision.
        const float divisor = counted[k] > 0 ? static_cast<float>(counted[k]) : 1.0f;
        occupancyOut[k] = counted[k] > 0 ? occupancySum[k] / divisor : 0.0f;
    }
}

int BuildOptions::defaultReaderThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 4u));
}

namespace {

// One station's fetch: its detectors' series and the text that the reader and the builder
// append to the log for it, or the error that ended the fetch (after that text).
struct StationFetch {
    std::vector<DetectorDay> detectors;
    Log log;
    std::exception_ptr error;
};

template <class Extract>
void fetchStation(const StationList& stations, int station, Extract&& extract,
                  StationFetch& fetch) {
    fetch.log = Log{};
    fetch.error = nullptr;
    try {
        const std::vector<int16_t> dets = stations.detList(station, "P");
        fetch.detectors.resize(dets.size());
        for (std::size_t j = 0; j < dets.size(); ++j) {
            DetectorDay& detector = fetch.detectors[j];
            detector.found = extract(dets[j], detector.vol, detector.occ, fetch.log);
            if (!detector.found) {
                // A detector without both members contributes nothing, not even its volume.
                detector.vol.fill(0);
                detector.occ.fill(0.0f);
                fetch.log.appendLog("Station: " + std::to_string(stations.staNumByIndex(station)) +
                                    ": ");
            }
        }
    } catch (...) {
        fetch.error = std::current_exception();
    }
}

// Reads stations ahead of the station loop on worker threads, each on a handle that no other
// thread uses (libzip handles are not thread-safe). Stations are claimed in list order and at most
// `window` ahead of the last one the loop released, so memory stays bounded whatever the size of
// the day.
class ReadAhead {
  public:
    ReadAhead(const Unzip& archive, const StationList& stations, int threads, int window)
        : archive_(archive),
          stations_(stations),
          count_(stations.count()),
          window_(window),
          slots_(static_cast<std::size_t>(window)),
          slotStation_(static_cast<std::size_t>(window), -1) {
        try {
            for (int t = 0; t < threads; ++t) {
                threads_.emplace_back([this, t] { work(t); });
            }
        } catch (...) {
            stop();
            throw;
        }
    }
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    ~ReadAhead() { stop(); }

    StationFetch& wait(int station) {
        std::unique_lock lock(mutex_);
        fetched_.wait(lock, [&] { return slotStation_[slotOf(station)] == station; });
        return slots_[slotOf(station)];
    }

    void release(int station) {
        {
            std::lock_guard lock(mutex_);
            slotStation_[slotOf(station)] = -1;
            released_ = station + 1;
        }
        freed_.notify_all();
    }

  private:
    std::size_t slotOf(int station) const { return static_cast<std::size_t>(station % window_); }

    void stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        freed_.notify_all();
        for (std::thread& thread : threads_) {
            thread.join();
        }
        threads_.clear();
    }

    // Reader 0 borrows the archive's own handle, opened by zipList, so that it starts at once;
    // the others make their own reader (which opens libzip only for a member to be streamed).
    void work(int reader) {
        std::optional<Unzip::MemberReader> own;
        std::exception_ptr openError;
        for (;;) {
            int station = 0;
            {
                std::unique_lock lock(mutex_);
                freed_.wait(lock, [&] {
                    return stopping_ || next_ >= count_ || next_ < released_ + window_;
                });
                if (stopping_ || next_ >= count_) {
                    return;
                }
                station = next_++;
            }
            StationFetch& fetch = slots_[slotOf(station)];
            if (reader > 0 && !own && !openError) {
                try {
                    own.emplace(archive_);
                } catch (...) {
                    openError = std::current_exception();
                }
            }
            if (openError) {
                fetch.log = Log{};
                fetch.detectors.clear();
                fetch.error = openError;
            } else {
                fetchStation(
                    stations_, station,
                    [&](int16_t det, VolumeSeries& vol, OccupancySeries& occ, Log& log) {
                        return own ? own->extractDet(det, vol, occ, log)
                                   : archive_.extractDet(det, vol, occ, log);
                    },
                    fetch);
            }
            {
                std::lock_guard lock(mutex_);
                slotStation_[slotOf(station)] = station;
            }
            fetched_.notify_all();
        }
    }

    const Unzip& archive_;
    const StationList& stations_;
    const int count_;
    const int window_;
    std::vector<StationFetch> slots_;  // station s in slot s % window
    std::mutex mutex_;
    std::condition_variable fetched_;  // a slot was filled
    std::condition_variable freed_;    // a slot was released, or the build stops
    std::vector<int> slotStation_;     // the station whose fetch a slot holds, -1: none
    int next_ = 0;                     // the next station to claim
    int released_ = 0;                 // stations the loop is done with
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// ComputeStation once the station's detectors are fetched: their log text, then their error
// if the fetch failed, else the combination into the station's row.
void computeStation(const StationList& stations, int station, StationFetch& fetch, OccMode mode,
                    StationTables& tables, Log& log) {
    log.appendLog(fetch.log.logText());
    if (fetch.error) {
        std::rethrow_exception(fetch.error);
    }
    try {
        combineStation(fetch.detectors, mode, tables.volumeOf(station),
                       tables.occupancyOf(station));
    } catch (const Error& error) {
        throw Error(error.number(), error.description() + " at station " +
                                        std::to_string(stations.staNumByIndex(station)));
    }
}

}  // namespace

StationTables buildStationTables(const Unzip& archive, const StationList& stations, Log& log,
                                 const BuildHooks& hooks) {
    return buildStationTables(archive, stations, log, hooks, BuildOptions{});
}

StationTables buildStationTables(const Unzip& archive, const StationList& stations, Log& log,
                                 const BuildHooks& hooks, const BuildOptions& options) {
    const int count = stations.count();
    StationTables tables = StationTables::zeroed(count);

    // Without a member list there is nothing to read ahead (every detector is absent).
    if (options.readerThreads <= 0 || archive.zipEntries().empty()) {
        hooks.started(count);
        StationFetch fetch;
        for (int station = 0; station < count; ++station) {
            const OccMode mode = hooks.occMode();
            fetchStation(
                stations, station,
                [&](int16_t det, VolumeSeries& vol, OccupancySeries& occ, Log& stationLog) {
                    return archive.extractDet(det, vol, occ, stationLog);
                },
                fetch);
            computeStation(stations, station, fetch, mode, tables, log);
            hooks.stationDone(station, count);
        }
        return tables;
    }

    const int threads = std::min(options.readerThreads, count);
    const int window = std::max(options.window, threads);
    ReadAhead ahead(archive, stations, threads, window);
    hooks.started(count);
    for (int station = 0; station < count; ++station) {
        const OccMode mode = hooks.occMode();
        StationFetch& fetch = ahead.wait(station);
        computeStation(stations, station, fetch, mode, tables, log);
        ahead.release(station);
        hooks.stationDone(station, count);
    }
    return tables;
}

}  // namespace quorvane
