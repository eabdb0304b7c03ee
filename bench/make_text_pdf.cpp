// Writes a PDF of pages of text for the PDF input benchmarks (bench/pdf_inputs.sh).
//   make_text_pdf PAGES OUT.pdf
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "tests/support/PdfMaker.h"

int main(int argc, char **argv) {
    if (argc != 3 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: make_text_pdf PAGES OUT.pdf\n");
        return 2;
    }
    try {
        support::WriteTextPdf(argv[2], std::atoi(argv[1]));
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "make_text_pdf: %s\n", failure.what());
        return 1;
    }
    return 0;
}
