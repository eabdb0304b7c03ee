// The PDF engine against its yardsticks, measured side by side in one run:
//   photos: folvane-pdf on JPEG photos vs `cat` of the same files (plain, and followed by a
//           flush to disk as the engine does) vs img2pdf;
//   scans:  folvane-pdf on single-strip G4 TIFF scans vs img2pdf;
//   mixed:  folvane-pdf on RGB (LZW), grey (Deflate), palette (LZW) and JPEG TIFFs vs
//           tiff2pdf, plain and with its Flate option, one file per run each;
//   engine: the engine in process on the photos vs a plain read/write copy of their bytes;
//   fax:    in process, per G4 scan: reading its strip as it is (all a pass-through needs),
//           reading it and checking it the way PDF readers decode it (what the engine does),
//           and reading it decoded to pixels by libtiff (what re-encoding would start with).
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

#include "pdfw/pdfw.h"
#include "pdfw/tiff/CcittCheck.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Tiff.h"

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

// A camera-like photo (tests/support's Photo), quality 92.
void writeJpeg(const std::string &path, int width, int height, int seed) {
    support::JpegOptions options;
    options.quality = 92;
    support::WriteFile(path, support::MakeJpeg(support::Photo(width, height, seed), options));
}

// An A4 page at 300 dpi of text-like bilevel marks, G4 in one strip.
void writeScan(const std::string &path, int seed) {
    support::TiffPage page;
    page.width = 2480;
    page.height = 3508;
    page.bitsPerSample = 1;
    page.photometric = PHOTOMETRIC_MINISWHITE;
    page.compression = COMPRESSION_CCITTFAX4;
    const std::size_t rowBytes = page.RowBytes();
    page.data.assign(rowBytes * page.height, 0);
    for (uint32_t y = 200; y < page.height - 200; ++y) {
        const int line = static_cast<int>(y % 60);
        if (line >= 30) {
            continue;
        }
        for (uint32_t x = 200; x < page.width - 200; ++x) {
            const int glyph = static_cast<int>(x / 18 + y / 60 + seed) % 7;
            const bool ink = glyph != 0 && ((x % 18) < 3 || line < 3 || ((x + line) % 18) < 2);
            if (ink) {
                page.data[y * rowBytes + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        }
    }
    support::WriteTiff(path, {page});
}

// Half an A4 page at 300 dpi in one of four kinds: RGB (LZW), grey (Deflate), palette (LZW),
// JPEG-compressed YCbCr.
void writeMixed(const std::string &path, int kind) {
    const int spp = kind == 0 || kind == 3 ? 3 : 1;
    const uint16_t photometric[] = {PHOTOMETRIC_RGB, PHOTOMETRIC_MINISBLACK, PHOTOMETRIC_PALETTE,
                                    PHOTOMETRIC_YCBCR};
    const uint16_t compression[] = {COMPRESSION_LZW, COMPRESSION_ADOBE_DEFLATE, COMPRESSION_LZW,
                                    COMPRESSION_JPEG};
    support::TiffPage page;
    page.width = 1240;
    page.height = 1754;
    page.samplesPerPixel = static_cast<uint16_t>(spp);
    page.photometric = photometric[kind];
    page.compression = compression[kind];
    // Scanners write JPEG pages in one strip; libtiff's default strips for the others.
    page.rowsPerStrip = kind == 3 ? page.height : 16;
    if (kind == 2) {
        page.colorMap.resize(3 * 256);
        for (int i = 0; i < 256; ++i) {
            page.colorMap[i] = static_cast<std::uint16_t>(i * 257);
            page.colorMap[256 + i] = static_cast<std::uint16_t>((255 - i) * 257);
            page.colorMap[512 + i] = static_cast<std::uint16_t>((i * 7 % 256) * 257);
        }
    }
    const std::size_t rowBytes = page.RowBytes();
    for (uint32_t y = 0; y < page.height; ++y) {
        for (std::size_t i = 0; i < rowBytes; ++i) {
            page.data.push_back(static_cast<unsigned char>(
                (i / spp) * 200 / page.width + (y % 50 < 25 ? 40 : 0) + (i % spp) * 10));
        }
    }
    support::WriteTiff(path, {page});
}

const Corpus &corpus() {
    static const Corpus c = [] {
        static const support::TempDir folder;
        Corpus made;
        made.dir = folder.Path();
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

// Reads each scan's one strip with libtiff, raw or decoded, and hands it to `use`.
template <typename Use> void readScans(benchmark::State &state, bool decoded, Use use) {
    const Corpus &c = corpus();
    std::vector<unsigned char> strip;
    for (auto _ : state) {
        for (const std::string &f : c.scans) {
            TIFF *tiff = TIFFOpen(f.c_str(), "r");
            std::uint32_t width = 0, height = 0;
            TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
            TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
            tmsize_t size = decoded ? TIFFStripSize(tiff) : TIFFRawStripSize(tiff, 0);
            strip.resize(static_cast<std::size_t>(size));
            tmsize_t read = decoded ? TIFFReadEncodedStrip(tiff, 0, strip.data(), size)
                                    : TIFFReadRawStrip(tiff, 0, strip.data(), size);
            TIFFClose(tiff);
            if (read != size) {
                state.SkipWithError("libtiff could not read a scan");
            }
            use(strip, width, height);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(c.scans.size()));
}

void Fax_Read(benchmark::State &state) {
    readScans(state, false,
              [](const std::vector<unsigned char> &strip, std::uint32_t, std::uint32_t) {
                  benchmark::DoNotOptimize(strip.data());
              });
}

void Fax_ReadAndCheck(benchmark::State &state) {
    readScans(state, false,
              [&state](const std::vector<unsigned char> &strip, std::uint32_t width,
                       std::uint32_t height) {
                  if (!folvane::pdfw::ccittProblem(strip.data(), strip.size(), {-1, width, height})
                           .empty()) {
                      state.SkipWithError("a clean scan failed the check");
                  }
              });
}

void Fax_LibtiffDecode(benchmark::State &state) {
    readScans(state, true,
              [](const std::vector<unsigned char> &strip, std::uint32_t, std::uint32_t) {
                  benchmark::DoNotOptimize(strip.data());
              });
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
BENCHMARK(Fax_Read)->Unit(benchmark::kMillisecond);
BENCHMARK(Fax_ReadAndCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(Fax_LibtiffDecode)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
