# The Debian package (cpack -G DEB in the build folder): what cmake --install puts into
# /usr. dpkg-shlibdeps finds the packages of the shared libraries the program links; the
# packages it cannot see are named here: the spelling pairs the installed data links to,
# Qt's platform plugins, without which no window opens, and Qt's translations of its stock
# texts (buttons, file dialogs).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlyn-player)
set(CPACK_PACKAGE_VENDOR Vorlyn)
set(CPACK_PACKAGE_CONTACT "Vorlyn Player developers <player@vorlyn.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "looping media player and dictation editor for learning English")
set(CPACK_PACKAGE_DESCRIPTION
    "Vorlyn Player repeats one stretch of a video or audio lesson between a loop start and a
loop end mark, so the learner can write down what is heard in the dictation editor beside
it. The editor checks spelling, looks English words up by how they sound and compares the
transcript with a reference text.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://vorlyn.org/player)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# the spelling dictionaries, and the speech recogniser's English model that places a lesson
# text in the sound (the libraries themselves come through the shared library dependencies)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "hunspell-en-us, hunspell-en-gb, pocketsphinx-en-us, qt6-qpa-plugins, qt6-translations-l10n")
# a CJK font for the Chinese interface, and a sound server for the lesson's sound
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk, pulseaudio | pipewire-pulse")
include(CPack)
