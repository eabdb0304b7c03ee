# The Debian package: what `cmake --install` puts in place, with the shared libraries the
# programs link found by dpkg-shlibdeps and the packages they need at run time added here.

# Needed at run time beyond the linked libraries: the Chinese captions' font, Qt's own texts in
# Chinese (the file dialog, the buttons of message boxes), the desktop's "open" for the finished
# PDF, and the language data text recognition loads by default.
set(FOLVANE_RUNTIME_PACKAGES fonts-noto-cjk qt6-translations-l10n xdg-utils tesseract-ocr-eng
    tesseract-ocr-chi-sim)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME folvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Folvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn photographed or scanned page images into one PDF")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Folvane makes one PDF from page images (JPEG, TIFF, PNG): a window with an ordered list\n"
       "and a preview of each page, and folvane-pdf for scripts. JPEG data goes into the PDF\n"
       "unchanged, other pictures losslessly.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${FOLVANE_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS bash-completion)
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS ${FOLVANE_RUNTIME_PACKAGES})
include(CPack)
