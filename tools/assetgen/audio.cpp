// Writes the music as Ogg Vorbis and the effects as 16-bit PCM WAV files.
#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/audio_synth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace assetgen {
namespace {

constexpr float kMusicQuality = 0.4f;
constexpr double kMusicPeak = 0.45;
constexpr long kOggSerial = 0x564c5853;  // fixed, so the file is the same on every run

class OutFile {
public:
    explicit OutFile(const std::string& path)
        : path_(path), file_(std::fopen(path.c_str(), "wb")) {}
    ~OutFile() {
        if (file_ != nullptr) std::fclose(file_);
    }
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;

    bool ok() const { return file_ != nullptr && ok_; }
    void write(const void* data, std::size_t size) {
        if (file_ != nullptr && size > 0) ok_ = std::fwrite(data, 1, size, file_) == size && ok_;
    }
    // Closes the file; false (after saying which file) if anything failed on the way.
    bool finish() {
        const bool closed = file_ != nullptr && std::fclose(file_) == 0;
        file_ = nullptr;
        if (!(closed && ok_)) std::fprintf(stderr, "assetgen: cannot write %s\n", path_.c_str());
        return closed && ok_;
    }

private:
    std::string path_;
    std::FILE* file_;
    bool ok_ = true;
};

void putLe(std::vector<unsigned char>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

int16_t toPcm(float v) {
    return static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
}

bool writeWav(const std::string& path, const std::vector<float>& samples, int rate) {
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<unsigned char> bytes;
    bytes.insert(bytes.end(), {'R', 'I', 'F', 'F'});
    putLe(bytes, 36 + dataBytes, 4);
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe(bytes, 16, 4);  // fmt chunk size
    putLe(bytes, 1, 2);   // PCM
    putLe(bytes, 1, 2);   // mono
    putLe(bytes, rate, 4);
    putLe(bytes, rate * 2, 4);  // bytes per second
    putLe(bytes, 2, 2);         // bytes per frame
    putLe(bytes, 16, 2);        // bits per sample
    bytes.insert(bytes.end(), {'d', 'a', 't', 'a'});
    putLe(bytes, dataBytes, 4);
    for (float v : samples) putLe(bytes, static_cast<uint16_t>(toPcm(v)), 2);
    OutFile out(path);
    out.write(bytes.data(), bytes.size());
    return out.finish();
}

// Owns the libvorbis and libogg encoder state for one stream.
class VorbisWriter {
public:
    VorbisWriter(OutFile& out, int rate) : out_(out) {
        vorbis_info_init(&info_);
        ready_ = vorbis_encode_init_vbr(&info_, 2, rate, kMusicQuality) == 0;
        vorbis_comment_init(&comment_);
        if (!ready_) return;
        vorbis_comment_add_tag(&comment_, "TITLE", "Vorlaxis");
        vorbis_analysis_init(&dsp_, &info_);
        vorbis_block_init(&dsp_, &block_);
        ogg_stream_init(&stream_, kOggSerial);
        writeHeaders();
    }
    ~VorbisWriter() {
        if (ready_) {
            ogg_stream_clear(&stream_);
            vorbis_block_clear(&block_);
            vorbis_dsp_clear(&dsp_);
        }
        vorbis_comment_clear(&comment_);
        vorbis_info_clear(&info_);
    }
    VorbisWriter(const VorbisWriter&) = delete;
    VorbisWriter& operator=(const VorbisWriter&) = delete;

    bool ready() const { return ready_; }

    void encode(const StereoLoop& song) {
        constexpr std::size_t kChunk = 4096;
        for (std::size_t at = 0; at < song.frames(); at += kChunk) {
            const std::size_t n = std::min(kChunk, song.frames() - at);
            float** buffer = vorbis_analysis_buffer(&dsp_, static_cast<int>(n));
            std::copy_n(song.left.begin() + at, n, buffer[0]);
            std::copy_n(song.right.begin() + at, n, buffer[1]);
            vorbis_analysis_wrote(&dsp_, static_cast<int>(n));
            drain();
        }
        vorbis_analysis_wrote(&dsp_, 0);  // end of stream
        drain();
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0) writePage(page);
    }

private:
    void writeHeaders() {
        ogg_packet id, comments, codebooks;
        vorbis_analysis_headerout(&dsp_, &comment_, &id, &comments, &codebooks);
        ogg_stream_packetin(&stream_, &id);
        ogg_stream_packetin(&stream_, &comments);
        ogg_stream_packetin(&stream_, &codebooks);
        ogg_page page;
        while (ogg_stream_flush(&stream_, &page) != 0) writePage(page);
    }
    void drain() {
        ogg_packet packet;
        ogg_page page;
        while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
            vorbis_analysis(&block_, nullptr);
            vorbis_bitrate_addblock(&block_);
            while (vorbis_bitrate_flushpacket(&dsp_, &packet) != 0) {
                ogg_stream_packetin(&stream_, &packet);
                while (ogg_stream_pageout(&stream_, &page) != 0) writePage(page);
            }
        }
    }
    void writePage(const ogg_page& page) {
        out_.write(page.header, static_cast<std::size_t>(page.header_len));
        out_.write(page.body, static_cast<std::size_t>(page.body_len));
    }

    OutFile& out_;
    bool ready_ = false;
    vorbis_info info_;
    vorbis_comment comment_;
    vorbis_dsp_state dsp_;
    vorbis_block block_;
    ogg_stream_state stream_;
};

bool writeOgg(const std::string& path, const StereoLoop& song, int rate) {
    OutFile out(path);
    VorbisWriter writer(out, rate);
    if (!writer.ready()) {
        std::fprintf(stderr, "assetgen: the Vorbis encoder refused %d Hz stereo for %s\n", rate,
                     path.c_str());
        return false;
    }
    writer.encode(song);
    return out.finish();
}

}  // namespace

bool writeAudio(const std::string& dir) {
    StereoLoop song = composeMusic();
    // The mixer adds an effect on top of the music at full volume: together, with the codec's
    // own overshoot, they must stay below full scale.
    normalizePeak({&song.left, &song.right}, kMusicPeak);
    bool ok = writeOgg(dir + "/music.ogg", song, kMusicRate);
    ok = writeWav(dir + "/explosion.wav", synthExplosion(), kEffectRate) && ok;
    ok = writeWav(dir + "/sound.wav", synthPunch(), kEffectRate) && ok;
    return ok;
}

}  // namespace assetgen
