# Everything only the Windows build needs, in one place:
# - the program's icon (every size) and version resource, so Explorer shows them;
# - one self-contained .exe: Qt is a static library (its platform and style plugins are linked
#   in), and so are the C++ runtime and the thread library, so no DLL needs to sit beside it;
# - fgd-composer.com beside the .exe (app/console/launcher.cpp): a console program that command
#   prompts find first, so that the check's findings and exit status reach them;
# - the tests run on Qt's offscreen platform, as on Linux (under Wine when cross-built).
# The save's extra sync is in model/FgdWriter.cpp: fsync() on Unix; on Windows Qt's own flush
# when the file is committed.

set(FGD_WINDOWS_RC "${CMAKE_CURRENT_BINARY_DIR}/fgd-composer.rc")
string(REPLACE "." "," FGD_VERSION_COMMAS "${PROJECT_VERSION}.0")
file(CONFIGURE OUTPUT "${FGD_WINDOWS_RC}" CONTENT [[
#include <winver.h>
IDI_ICON1 ICON "@PROJECT_SOURCE_DIR@/resources/icons/fgd-composer-windows.ico"
VS_VERSION_INFO VERSIONINFO
FILEVERSION @FGD_VERSION_COMMAS@
PRODUCTVERSION @FGD_VERSION_COMMAS@
FILEFLAGSMASK 0x3fL
FILEFLAGS 0x0L
FILEOS VOS_NT_WINDOWS32
FILETYPE VFT_APP
FILESUBTYPE 0x0L
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "040904b0"
        BEGIN
            VALUE "CompanyName", "FGD Composer"
            VALUE "FileDescription", "FGD Composer: compose Half-Life point-entity FGD files"
            VALUE "FileVersion", "@PROJECT_VERSION@"
            VALUE "InternalName", "fgd-composer"
            VALUE "OriginalFilename", "fgd-composer.exe"
            VALUE "ProductName", "FGD Composer"
            VALUE "ProductVersion", "@PROJECT_VERSION@"
        END
    END
    BLOCK "VarFileInfo"
    BEGIN
        VALUE "Translation", 0x409, 1200
    END
END
]] @ONLY)
target_sources(fgd-composer PRIVATE "${FGD_WINDOWS_RC}")

add_executable(fgd-composer-console "${PROJECT_SOURCE_DIR}/app/console/launcher.cpp")
set_target_properties(fgd-composer-console PROPERTIES OUTPUT_NAME fgd-composer SUFFIX ".com")
add_dependencies(fgd-composer-console fgd-composer)

if(MINGW)
    # libgcc, libstdc++ and winpthread linked in, not taken from DLLs.
    foreach(program fgd-composer fgd-composer-console)
        target_link_options(${program} PRIVATE -static -static-libgcc -static-libstdc++)
    endforeach()
endif()

get_property(tests GLOBAL PROPERTY FGD_TEST_TARGETS)
foreach(test IN LISTS tests)
    if(MINGW)
        target_link_options(${test} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
    if(QT6_IS_SHARED_LIBS_BUILD)
        continue()
    endif()
    qt_import_plugins(${test} INCLUDE Qt6::QOffscreenIntegrationPlugin)
endforeach()
