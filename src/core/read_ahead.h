#pragma once

// Reading the stations' detectors ahead of the station loop, on worker threads.

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "base/log.h"
#include "core/station_builder.h"
#include "core/unzip.h"

namespace quorvane {

class StationList;

// One station's fetch: its detectors' series and the text that the reader and the builder
// append to the log for it, or the error that ended the fetch (after that text).
struct StationFetch {
    std::vector<DetectorDay> detectors;
    // Per detector, when the build grades: counted where the values were read, so that on the
    // reader threads the grading runs beside the reading rather than on the station loop.
    std::vector<DetectorCounts> counts;
    // Per detector, when the build calibrates: the free-flow fit of a good detector; and the
    // station's borderline detectors (its row of the sums is written in place).
    std::vector<FreeFlowFit> fits;
    StationCalibration calibration;
    Log log;
    std::exception_ptr error;
};

// extractDet on some reader of the archive.
using ExtractDetector =
    std::function<bool(int16_t det, VolumeSeries& vol, OccupancySeries& occ, Log& log)>;

// What a fetch takes from the values besides the values themselves.
struct FetchWork {
    bool grade = true;  // each found detector's health counts
    // When set, each good detector's free-flow fit, and the station's row of these sums
    // (written by the fetch of that station only).
    CalibratedSums* calibration = nullptr;
};

// Fetches every detector of `station` into `fetch`: a detector without both members contributes
// nothing (its series are zeroed) and logs "Station: N: ". Grading and calibration take the
// values as read, before the combination drops implausible ones. An error ends the fetch and is
// kept.
void fetchStation(const StationList& stations, int station, const ExtractDetector& extract,
                  FetchWork work, StationFetch& fetch);

// Reads stations ahead of the station loop on worker threads, each on a handle that no other
// thread uses (libzip handles are not thread-safe). Stations are claimed in list order and at
// most `window` ahead of the last one the loop released, so memory stays bounded whatever the
// size of the day.
class ReadAhead {
  public:
    ReadAhead(const Unzip& archive, const StationList& stations, int threads, int window,
              FetchWork fetchWork);
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    ~ReadAhead();

    // The fetch of `station`, once a worker has filled it.
    StationFetch& wait(int station);
    // The loop is done with `station`: its slot may take a later one.
    void release(int station);

  private:
    std::size_t slotOf(int station) const { return static_cast<std::size_t>(station % window_); }
    void stop();
    void work(int reader);

    const Unzip& archive_;
    const StationList& stations_;
    const int count_;
    const int window_;
    const FetchWork work_;
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

}  // namespace quorvane
