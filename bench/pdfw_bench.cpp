// The PDF engine against its yardsticks, measured side by side in one run:
//   photos: folvane-pdf on JPEG photos vs `cat` of the same files (plain, and followed by a
//           flush to disk as the engine does) vs img2pdf;
//   scans:  folvane-pdf on single-strip G4 TIFF scans vs img2pdf;
//   mixed:  folvane-pdf on RGB (LZW), grey (Deflate), palette (LZW) and JPEG TIFFs vs
//           tiff2pdf, plain and with its Flate option, one file per run each;
//   engine: the engine in process on the photos vs a plain read/write copy of their bytes.
// Every case runs external programs as processes, so all pay the same start-up and I/O.
// Read the results as ratios between rows of one run (real time).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>
#include <tiffio.h>

#include "pdfw/pdfw.h"

extern char **environ;

namespace {

struct Corpus {
    std::string dir;
    std::string bin; // folder of the built programs
    std::vector<std::string> photos, scans, mixed;
};

std::string programDir() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, n > 0 ? static_cast<std::size_t>(n) : 0);
    return self.substr(0, self.rfind('/'));
}

void writeJpeg(const std::string &path, int width, int height, int seed) {
    FILE *out = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 92, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    unsigned noise = static_cast<unsigned>(seed) * 2654435761u;
    while (info.next_scanline < info.image_height) {
        int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            int n = static_cast<int>((noise >> 16) & 31);
            row[x * 3] = static_cast<unsigned char>((x * 255 / width + n) & 255);
            row[x * 3 + 1] = static_cast<unsigned char>((y * 255 / height + n) & 255);
            row[x * 3 + 2] = static_cast<unsigned char>(((x ^ y) + seed * 40 + n) & 255);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
}

// An A4 page at 300 dpi of text-like bilevel marks, G4 in one strip.
void writeScan(const std::string &path, int seed) {
    const int width = 2480, height = 3508, rowBytes = (width + 7) / 8;
    TIFF *t = TIFFOpen(path.c_str(), "w");
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, height);
    std::vector<unsigned char> row(rowBytes);
    for (int y = 0; y < height; ++y) {
        std::fill(row.begin(), row.end(), 0);
        int line = y % 60;
        if (y > 200 && y < height - 200 && line < 30) {
            for (int x = 200; x < width - 200; ++x) {
                int glyph = (x / 18 + y / 60 + seed) % 7;
                bool ink = glyph != 0 && ((x % 18) < 3 || line < 3 || ((x + line) % 18) < 2);
                if (ink) {
                    row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
                }
            }
        }
        TIFFWriteScanline(t, row.data(), static_cast<std::uint32_t>(y), 0);
    }
    TIFFClose(t);
}

void writeMixed(const std::string &path, int kind) {
    const int width = 1240, height = 1754;
    int spp = kind == 0 || kind == 3 ? 3 : 1;
    TIFF *t = TIFFOpen(path.c_str(), "w");
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, spp);
    const int photometric[] = {PHOTOMETRIC_RGB, PHOTOMETRIC_MINISBLACK, PHOTOMETRIC_PALETTE,
                               PHOTOMETRIC_YCBCR};
    const int compression[] = {COMPRESSION_LZW, COMPRESSION_ADOBE_DEFLATE, COMPRESSION_LZW,
                               COMPRESSION_JPEG};
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, photometric[kind]);
    TIFFSetField(t, TIFFTAG_COMPRESSION, compression[kind]);
    // Scanners write JPEG pages in one strip; libtiff's default strips for the others.
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, kind == 3 ? height : 16);
    if (kind == 3) {
        TIFFSetField(t, TIFFTAG_JPEGQUALITY, 90);
        TIFFSetField(t, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    }
    if (kind == 2) {
        std::vector<std::uint16_t> map(3 * 256);
        for (int i = 0; i < 256; ++i) {
            map[i] = static_cast<std::uint16_t>(i * 257);
            map[256 + i] = static_cast<std::uint16_t>((255 - i) * 257);
            map[512 + i] = static_cast<std::uint16_t>((i * 7 % 256) * 257);
        }
        TIFFSetField(t, TIFFTAG_COLORMAP, map.data(), map.data() + 256, map.data() + 512);
    }
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * spp);
    for (int y = 0; y < height; ++y) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            row[i] = static_cast<unsigned char>((i / spp) * 200 / width + (y % 50 < 25 ? 40 : 0) +
                                                (i % spp) * 10);
        }
        TIFFWriteScanline(t, row.data(), static_cast<std::uint32_t>(y), 0);
    }
    TIFFClose(t);
}

const Corpus &corpus() {
    static const Corpus c = [] {
        Corpus made;
        char dir[] = "/tmp/pdfw-bench-XXXXXX";
        made.dir = mkdtemp(dir);
        made.bin = programDir();
        for (int i = 0; i < 8; ++i) {
            made.photos.push_back(made.dir + "/photo" + std::to_string(i) + ".jpg");
            writeJpeg(made.photos.back(), 2048, 1536, i);
        }
        for (int i = 0; i < 8; ++i) {
            made.scans.push_back(made.dir + "/scan" + std::to_string(i) + ".tif");
            writeScan(made.scans.back(), i);
        }
        for (int i = 0; i < 8; ++i) {
            made.mixed.push_back(made.dir + "/mixed" + std::to_string(i) + ".tif");
            writeMixed(made.mixed.back(), i % 4);
        }
        return made;
    }();
    return c;
}

// Runs argv as a process with its output to `output` (or /dev/null when empty).
void runProcess(const std::vector<std::string> &argv, const std::string &output,
                benchmark::State &state) {
    std::vector<char *> args;
    for (const std::string &a : argv) {
        args.push_back(const_cast<char *>(a.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.empty() ? "/dev/null" : output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int status = 0;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0 ||
        waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        state.SkipWithError(("failed: " + argv[0]).c_str());
    }
    posix_spawn_file_actions_destroy(&actions);
}

std::vector<std::string> concat(std::vector<std::string> head,
                                const std::vector<std::string> &tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

std::int64_t totalBytes(const std::vector<std::string> &files) {
    std::int64_t total = 0;
    for (const std::string &f : files) {
        if (FILE *in = std::fopen(f.c_str(), "rb")) {
            std::fseek(in, 0, SEEK_END);
            total += std::ftell(in);
            std::fclose(in);
        }
    }
    return total;
}

void Photos_Cat(benchmark::State &state) {
    const Corpus &c = corpus();
    for (auto _ : state) {
        runProcess(concat({"cat"}, c.photos), c.dir + "/cat.out", state);
    }
    state.SetBytesProcessed(state.iterations() * totalBytes(c.photos));
}

// cat followed by a flush of its output to disk, as the engine flushes the PDF it writes.
void Photos_CatSync(benchmark::State &state) {
    const Corpus &c = corpus();
    std::string script = "cat \"$@\" > " + c.dir + "/cat.out && sync " + c.dir + "/cat.out";
    for (auto _ : state) {
        runProcess(concat({"sh", "-c", script, "sh"}, c.photos), "", state);
    }
    state.SetBytesProcessed(state.iterations() * totalBytes(c.photos));
}

void Photos_FolvanePdf(benchmark::State &state) {
    const Corpus &c = corpus();
    for (auto _ : state) {
        runProcess(concat({c.bin + "/folvane-pdf", "-o", c.dir + "/f.pdf"}, c.photos), "", state);
    }
    state.SetBytesProcessed(state.iterations() * totalBytes(c.photos));
}

void Photos_Img2pdf(benchmark::State &state) {
    const Corpus &c = corpus();
    for (auto _ : state) {
        runProcess(concat({"img2pdf", "-o", c.dir + "/i.pdf"}, c.photos), "", state);
    }
    state.SetBytesProcessed(state.iterations() * totalBytes(c.photos));
}

void Scans_FolvanePdf(benchmark::State &state) {
    const Corpus &c = corpus();
    for (auto _ : state) {
        runProcess(concat({c.bin + "/folvane-pdf", "-o", c.dir + "/fs.pdf"}, c.scans), "", state);
    }
}

void Scans_Img2pdf(benchmark::State &state) {
    const Corpus &c = corpus();
    for (auto _ : state) {
        runProcess(concat({"img2pdf", "-o", c.dir + "/is.pdf"}, c.scans), "", state);
    }
}

void Mixed_FolvanePdf(benchmark::State &state) {
    const Corpus &c = corpus();
    for (auto _ : state) {
        for (const std::string &f : c.mixed) {
            runProcess({c.bin + "/folvane-pdf", "-o", c.dir + "/fm.pdf", f}, "", state);
        }
    }
}

void Mixed_Tiff2pdf(benchmark::State &state) {
    const Corpus &c = corpus();
    for (auto _ : state) {
        for (const std::string &f : c.mixed) {
            runProcess({"tiff2pdf", "-o", c.dir + "/tm.pdf", f}, "", state);
        }
    }
}

void Mixed_Tiff2pdfFlate(benchmark::State &state) {
    const Corpus &c = corpus();
    for (auto _ : state) {
        for (const std::string &f : c.mixed) {
            runProcess({"tiff2pdf", "-z", "-o", c.dir + "/tz.pdf", f}, "", state);
        }
    }
}

// In process: the plain copy of the photos' bytes into one file, as cat does it (128 KiB
// reads and writes), then flushed to disk as the engine's output is.
void Engine_PlainCopy(benchmark::State &state) {
    const Corpus &c = corpus();
    std::vector<char> buffer(128 * 1024);
    for (auto _ : state) {
        int out = ::open((c.dir + "/copy.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (const std::string &f : c.photos) {
            int in = ::open(f.c_str(), O_RDONLY);
            ssize_t n;
            while ((n = ::read(in, buffer.data(), buffer.size())) > 0) {
                if (::write(out, buffer.data(), static_cast<std::size_t>(n)) != n) {
                    state.SkipWithError("write failed");
                }
            }
            ::close(in);
        }
        ::fsync(out);
        ::close(out);
    }
    state.SetBytesProcessed(state.iterations() * totalBytes(c.photos));
}

void Engine_JpegEmbed(benchmark::State &state) {
    const Corpus &c = corpus();
    std::string out = c.dir + "/engine.pdf";
    for (auto _ : state) {
        pdfw_context *ctx = pdfw_new(nullptr, nullptr, nullptr, nullptr, nullptr);
        pdfw_open_file(ctx, out.c_str());
        for (const std::string &f : c.photos) {
            pdfw_begin_page(ctx, 595, 842);
            int image = pdfw_load_image(ctx, "jpeg", f.c_str(), "", 1);
            pdfw_place_image(ctx, image, 0, 0, 0.264f);
            pdfw_close_image(ctx, image);
            pdfw_end_page(ctx);
        }
        if (pdfw_close(ctx) != 0) {
            state.SkipWithError(pdfw_get_last_error(ctx));
        }
        pdfw_delete(ctx);
    }
    state.SetBytesProcessed(state.iterations() * totalBytes(c.photos));
}

} // namespace

BENCHMARK(Photos_Cat)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Photos_CatSync)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Photos_FolvanePdf)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Photos_Img2pdf)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Scans_FolvanePdf)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Scans_Img2pdf)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Mixed_FolvanePdf)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Mixed_Tiff2pdf)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Mixed_Tiff2pdfFlate)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Engine_PlainCopy)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Engine_JpegEmbed)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
