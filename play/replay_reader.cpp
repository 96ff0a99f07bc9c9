#include "play/replay_reader.h"

#include <cerrno>
#include <cstring>

namespace play {

namespace {

constexpr size_t kChunk = 1 << 16;
// The header is read in one go: no valid one is longer.
constexpr size_t kHeaderRead = 512;

}  // namespace

ReplayReader::~ReplayReader() {
    if (file_) std::fclose(file_);
}

bool ReplayReader::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        problem_ = std::string("cannot be opened: ") + std::strerror(errno);
        return false;
    }
    return readHeader();
}

bool ReplayReader::openBytes(const std::string& bytes) {
    buffer_.assign(bytes.begin(), bytes.end());
    return readHeader();
}

bool ReplayReader::readHeader() {
    have(kHeaderRead);
    if (!problem_.empty()) return false;
    bool needMore = false;
    const size_t length =
        decodeHeader(buffer_.data(), buffer_.size() - at_, header_, problem_, needMore);
    if (length == 0) return false;
    at_ += length;
    return true;
}

bool ReplayReader::have(size_t count) {
    while (buffer_.size() - at_ < count && file_ && problem_.empty()) {
        if (at_ >= kChunk) {
            buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<long>(at_));
            dropped_ += at_;
            at_ = 0;
        }
        const size_t old = buffer_.size();
        buffer_.resize(old + kChunk);
        const size_t got = std::fread(buffer_.data() + old, 1, kChunk, file_);
        buffer_.resize(old + got);
        if (got > 0) continue;
        if (std::ferror(file_)) problem_ = std::string("cannot be read: ") + std::strerror(errno);
        std::fclose(file_);
        file_ = nullptr;
    }
    return buffer_.size() - at_ >= count;
}

uint64_t ReplayReader::take(int bytes) {
    const uint64_t value = getUnsigned(buffer_.data() + at_, bytes);
    at_ += static_cast<size_t>(bytes);
    return value;
}

ReplayItem ReplayReader::next() {
    if (finished_) return last_;
    recordStart_ = dropped_ + at_;
    if (!have(2)) {
        if (!problem_.empty()) return finish(ReplayItem{});
        ReplayItem cut;
        cut.kind = ReplayItem::CUT_SHORT;
        cut.turn = turns_;
        return finish(cut);
    }
    const uint16_t word = static_cast<uint16_t>(take(2));
    return (word & 0x8000) ? readMark(word) : readTurn(word);
}

ReplayItem ReplayReader::readTurn(uint16_t word) {
    if (word & ~kTurnBits) return damaged("a turn has input bits that no record uses");
    ReplayItem item;
    item.input = TurnInput::unpack(word);
    if (item.input.cameraSwitch > TurnInput::CAMERA_ON)
        return damaged("a turn has an unknown camera switch");
    if (checkpointDue_)
        return damaged("the checkpoint after turn " + std::to_string(turns_) + " is missing");
    item.kind = ReplayItem::TURN;
    item.turn = ++turns_;
    checkpointDue_ = turns_ % kCheckpointEvery == 0;
    matchEnded_ = false;
    return item;
}

ReplayItem ReplayReader::readMark(uint16_t word) {
    const size_t fields = word == kMarkCheckpoint ? kCheckpointBytes
                          : word == kMarkMatchEnd ? kMatchEndBytes
                          : word == kMarkRunEnd   ? kRunEndBytes
                                                  : 0;
    if (fields == 0) return damaged("it holds a record of unknown kind");
    ReplayItem item;
    if (!have(fields)) {
        if (!problem_.empty()) return finish(item);
        item.kind = ReplayItem::CUT_SHORT;
        item.turn = turns_;
        return finish(item);
    }
    const int64_t turn = static_cast<int64_t>(take(8));
    if (turn != turns_) return damaged("a mark is numbered out of turn");
    item.turn = turn;
    if (word == kMarkMatchEnd) {
        item.winner = static_cast<int>(take(1));
        if (item.winner > 2 || matchEnded_ || turns_ == 0)
            return damaged("an end of match is out of place");
        matchEnded_ = true;
        item.kind = ReplayItem::MATCH_END;
        return item;
    }
    item.hash = take(8);
    if (word == kMarkCheckpoint) {
        if (!checkpointDue_) return damaged("a checkpoint is out of place");
        checkpointDue_ = false;
        item.kind = ReplayItem::CHECKPOINT;
        return item;
    }
    if (checkpointDue_)
        return damaged("the checkpoint after turn " + std::to_string(turns_) + " is missing");
    if (have(1)) return damaged("there is more after the end of the run");
    item.kind = ReplayItem::RUN_END;
    return finish(item);
}

ReplayItem ReplayReader::damaged(const std::string& what) {
    problem_ = "is damaged at byte " + std::to_string(recordStart_) + ": " + what;
    return finish(ReplayItem{});
}

ReplayItem ReplayReader::finish(ReplayItem item) {
    finished_ = true;
    last_ = item;
    return item;
}

}  // namespace play
