# Every library the build uses, found once for all folders.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Svg Charts)
find_package(nlohmann_json 3 REQUIRED) # the checker's JSON output
find_package(ZLIB REQUIRED)            # checksums of PNG chunks in tests and fuzz targets

# The metafile libraries, linked by the metafile helper alone (pictures/metafile); libuemf also by
# the sample writers of devtools/.
find_package(Freetype REQUIRED) # libwmf's headers include FreeType's; nothing of it is linked
find_path(EMF2SVG_INCLUDE_DIR emf2svg.h REQUIRED)
find_library(EMF2SVG_LIBRARY emf2svg REQUIRED)
find_path(UEMF_INCLUDE_DIR uemf.h REQUIRED)
find_library(UEMF_LIBRARY uemf REQUIRED)
find_path(WMF_INCLUDE_DIR libwmf/api.h REQUIRED)
# The player alone: text and bitmaps are handled by our device layer, not by libwmf's font mapper.
find_library(WMFLITE_LIBRARY wmflite REQUIRED)

if(ZDAWNIK_BUILD_TESTS)
    find_package(Qt6 6.4 REQUIRED COMPONENTS Test)
endif()
if(ZDAWNIK_BUILD_DEVTOOLS)
    find_package(PNG REQUIRED)
    find_package(JPEG REQUIRED)
endif()
