// Pages for the text-layer benchmark: A4 at 300 dpi, mixed Chinese and English text drawn with
// the Noto CJK font; odd pages photographed (grey JPEG, quality 85), even pages scanned
// (bilevel G4 TIFF). Each page's text goes beside it in page-NNN.txt.
//
//   ocr_make_pages FOLDER COUNT

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/ocr/TextPage.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Tiff.h"

namespace {

const char *const kEnglish[] = {
    "The parties agree that the invoice is payable within thirty days.",
    "Every scanned page keeps its picture exactly as the scanner wrote it.",
    "A searchable document lets people find a clause without reading it all.",
    "Delivery takes place at the warehouse named in the order form.",
    "The tenant shall keep the premises in good repair at all times.",
    "Receipts older than seven years may be destroyed after an audit.",
    "Please return the signed copy before the end of the month.",
    "The warranty covers defects in material and workmanship.",
    "Meeting notes were approved without changes by all members.",
    "Payment by bank transfer must quote the reference number.",
    "This agreement is governed by the laws of the country of sale.",
    "Questions about this statement go to the customer service desk."};

const char *const kChinese[] = {"双方同意发票应在三十天内付清。",
                                "每一页扫描件都保持扫描仪写下的原样。",
                                "可以搜索的文件让人不必通读就能找到条款。",
                                "交货地点为订单上写明的仓库。",
                                "承租人应始终保持房屋处于良好状态。",
                                "超过七年的收据在审计之后可以销毁。",
                                "请在月底之前寄回签好字的副本。",
                                "保修范围包括材料和工艺上的缺陷。",
                                "会议纪要经全体成员批准，没有修改。",
                                "银行转账付款时必须注明参考编号。",
                                "本协议受销售国法律管辖。",
                                "对本账单有疑问请联系客户服务台。"};

constexpr int kLinesPerPage = 24;

std::vector<std::string> pageLines(int page) {
    std::vector<std::string> lines;
    for (int i = 0; i < kLinesPerPage; ++i) {
        int pick = (page * 5 + i * 7) % 12;
        lines.push_back(i % 2 == 0 ? kEnglish[pick] : kChinese[pick]);
    }
    return lines;
}

support::Bytes bilevelRows(const ocr_test::TextPage &page) {
    std::size_t rowBytes = (page.width + 7) / 8;
    support::Bytes rows(rowBytes * page.height, 0);
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            if (page.grey[static_cast<std::size_t>(y) * page.width + x] < 128) {
                rows[y * rowBytes + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        }
    }
    return rows;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3 || std::atoi(argv[2]) < 1) {
        std::fprintf(stderr, "usage: ocr_make_pages FOLDER COUNT\n");
        return 2;
    }
    std::string folder = argv[1];
    int count = std::atoi(argv[2]);
    for (int page = 1; page <= count; ++page) {
        std::vector<std::string> lines = pageLines(page);
        ocr_test::TextPage drawn = ocr_test::drawTextPage(lines, 2480, 3508, 11);
        char name[32];
        std::snprintf(name, sizeof name, "page-%03d", page);
        std::string base = folder + "/" + name;
        std::string text;
        for (const std::string &line : lines) {
            text += line + "\n";
        }
        support::WriteText(base + ".txt", text);
        if (page % 2 == 1) {
            support::Picture picture{drawn.width, drawn.height, 1,
                                     support::Bytes(drawn.grey.begin(), drawn.grey.end())};
            support::JpegOptions options;
            options.quality = 85;
            options.densityUnit = 1;
            options.xDensity = options.yDensity = 300;
            support::WriteFile(base + ".jpg", support::MakeJpeg(picture, options));
            continue;
        }
        support::TiffPage tiff;
        tiff.width = drawn.width;
        tiff.height = drawn.height;
        tiff.bitsPerSample = 1;
        tiff.photometric = PHOTOMETRIC_MINISWHITE;
        tiff.compression = COMPRESSION_CCITTFAX4;
        tiff.resolutionUnit = RESUNIT_INCH;
        tiff.xResolution = tiff.yResolution = 300.0f;
        tiff.data = bilevelRows(drawn);
        support::WriteTiff(base + ".tif", {tiff});
    }
    return 0;
}
