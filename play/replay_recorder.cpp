#include "play/replay_recorder.h"

#include <cerrno>
#include <cstring>

namespace play {

namespace {

// Half the promised second: a slow turn may come just before it is up.
constexpr auto kFlushEvery = std::chrono::milliseconds(500);

}  // namespace

ReplayRecorder::~ReplayRecorder() {
    if (!file_) return;
    if (!begun_) {
        discard();
        return;
    }
    flush(true);
    if (file_) std::fclose(file_);
}

// A run that ended before its first turn (a host nobody joined) leaves no empty file behind.
void ReplayRecorder::discard() {
    std::fclose(file_);
    file_ = nullptr;
    std::remove(path_.c_str());
}

bool ReplayRecorder::create(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) error = std::strerror(errno);
    path_ = path;
    return file_ != nullptr;
}

void ReplayRecorder::begin(const ReplayHeader& header, const MatchState& start) {
    if (!file_) return;
    begun_ = true;
    turns_ = 0;
    held_ = encodeHeader(header) + encodeCheckpoint(0, hashState(start));
    flush(true);
}

void ReplayRecorder::recordTurn(const TurnInput& input) {
    if (!file_) return;
    write(encodeTurn(input));
    ++turns_;
}

void ReplayRecorder::afterTurn(const MatchState& state) {
    if (!file_) return;
    if (turns_ % kCheckpointEvery == 0) write(encodeCheckpoint(turns_, hashState(state)));
    if (state.endingTurn == 1) write(encodeMatchEnd(turns_, state.winner));
    flush(false);
}

void ReplayRecorder::finish(const MatchState& state) {
    if (!file_) return;
    if (!begun_) {
        discard();
        return;
    }
    write(encodeRunEnd(turns_, hashState(state)));
    flush(true);
    std::FILE* closing = file_;
    file_ = nullptr;
    if (closing && std::fclose(closing) != 0) fail(std::strerror(errno));
}

void ReplayRecorder::write(const std::string& bytes) { held_ += bytes; }

void ReplayRecorder::flush(bool now) {
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - lastFlush_ < kFlushEvery) return;
    lastFlush_ = time;
    if (held_.empty()) return;
    const bool written = std::fwrite(held_.data(), 1, held_.size(), file_) == held_.size();
    held_.clear();
    if (!written || std::fflush(file_) != 0) fail(std::strerror(errno));
}

void ReplayRecorder::fail(const char* what) {
    std::fprintf(stderr, "vorlaxis: the replay %s cannot be written (%s); recording stops\n",
                 path_.c_str(), what);
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace play
