#include "core/read_ahead.h"

#include <optional>
#include <string>

#include "definitions/station_list.h"

namespace quorvane {

void fetchStation(const StationList& stations, int station, const ExtractDetector& extract,
                  FetchWork work, StationFetch& fetch) {
    fetch.log = Log{};
    fetch.error = nullptr;
    const bool calibrate = work.calibration != nullptr;
    const bool grade = work.grade || calibrate;  // only a good detector is calibrated
    try {
        const std::vector<int16_t> dets = stations.detList(station, "P");
        fetch.detectors.resize(dets.size());
        fetch.counts.assign(grade ? dets.size() : 0, DetectorCounts{});
        fetch.fits.assign(calibrate ? dets.size() : 0, FreeFlowFit{});
        fetch.calibration = StationCalibration{};
        for (std::size_t j = 0; j < dets.size(); ++j) {
            DetectorDay& detector = fetch.detectors[j];
            detector.found = extract(dets[j], detector.vol, detector.occ, fetch.log);
            if (!detector.found) {
                // A detector without both members contributes nothing, not even its volume.
                detector.vol.fill(0);
                detector.occ.fill(0.0f);
                fetch.log.appendLog("Station: " + std::to_string(stations.staNumByIndex(station)) +
                                    ": ");
            } else if (grade) {
                fetch.counts[j] = countDetector(detector.vol, detector.occ);
                if (calibrate && healthStatus(true, fetch.counts[j]) == HealthStatus::Good) {
                    fetch.fits[j] = fetch.calibration.add(*work.calibration, station, detector.vol,
                                                          detector.occ);
                }
            }
        }
        if (calibrate) {
            fetch.calibration.finish(*work.calibration, station);
        }
    } catch (...) {
        fetch.error = std::current_exception();
    }
}

ReadAhead::ReadAhead(const Unzip& archive, const StationList& stations, int threads, int window,
                     FetchWork fetchWork)
    : archive_(archive),
      stations_(stations),
      count_(stations.count()),
      window_(window),
      work_(fetchWork),
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

ReadAhead::~ReadAhead() {
    stop();
}

StationFetch& ReadAhead::wait(int station) {
    std::unique_lock lock(mutex_);
    fetched_.wait(lock, [&] { return slotStation_[slotOf(station)] == station; });
    return slots_[slotOf(station)];
}

void ReadAhead::release(int station) {
    {
        std::lock_guard lock(mutex_);
        slotStation_[slotOf(station)] = -1;
        released_ = station + 1;
    }
    freed_.notify_all();
}

void ReadAhead::stop() {
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
// the others open their own (parsing the member list anew) while it already reads.
void ReadAhead::work(int reader) {
    std::optional<Unzip::MemberReader> own;
    std::exception_ptr openError;
    const ExtractDetector extract = [&](int16_t det, VolumeSeries& vol, OccupancySeries& occ,
                                        Log& log) {
        return own ? own->extractDet(det, vol, occ, log) : archive_.extractDet(det, vol, occ, log);
    };
    for (;;) {
        int station = 0;
        {
            std::unique_lock lock(mutex_);
            freed_.wait(
                lock, [&] { return stopping_ || next_ >= count_ || next_ < released_ + window_; });
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
            fetchStation(stations_, station, extract, work_, fetch);
        }
        {
            std::lock_guard lock(mutex_);
            slotStation_[slotOf(station)] = station;
        }
        fetched_.notify_all();
    }
}

}  // namespace quorvane
