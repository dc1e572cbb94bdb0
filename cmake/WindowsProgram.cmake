# brennic.exe: the portable core plus the Win32 translation layer (files ending in _win32.cpp) and the resources.
enable_language(RC)
configure_file(${PROJECT_SOURCE_DIR}/resources/version.h.in ${PROJECT_BINARY_DIR}/generated/brennic_version.h @ONLY)
file(GLOB_RECURSE BRENNIC_WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*_win32.cpp)
if(BRENNIC_WIN32_SOURCES)
  add_executable(brennic WIN32 ${BRENNIC_WIN32_SOURCES} ${PROJECT_SOURCE_DIR}/resources/brennic.rc)
  target_link_libraries(brennic PRIVATE brennic_core comctl32 ole32 uuid advapi32 user32 gdi32)
  target_include_directories(brennic PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/resources
    ${PROJECT_BINARY_DIR}/generated)
  # The resource compiler reads the icon, manifest and page dialogs relative to the .rc; rebuild when they change.
  set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/brennic.rc APPEND PROPERTY OBJECT_DEPENDS
    ${PROJECT_SOURCE_DIR}/resources/brennic.ico ${PROJECT_SOURCE_DIR}/resources/brennic.manifest
    ${PROJECT_SOURCE_DIR}/resources/pages.rc ${PROJECT_SOURCE_DIR}/resources/run_window.rc
    ${PROJECT_SOURCE_DIR}/resources/resource_ids.h)
  target_compile_definitions(brennic PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
  brennic_warnings(brennic)
  if(MSVC)
    # The .rc embeds the manifest; the linker must not add a second one of its own.
    target_link_options(brennic PRIVATE /MANIFEST:NO)
  endif()
endif()

# Size of the shipped program (at most 1 MiB, `make bench` checks it): optimised for size, unused functions
# and data dropped at link time, no symbols kept. Most of the program is the statically linked C++ library.
if(TARGET brennic)
  if(MSVC)
    # /Gy /Gw put each function and datum in its own section, /OPT:REF /OPT:ICF drop and fold the unused ones;
    # symbols go to the .pdb, never into the program.
    target_compile_options(brennic_core PRIVATE $<$<NOT:$<CONFIG:Debug>>:/O1 /Gy /Gw>)
    target_compile_options(brennic PRIVATE $<$<NOT:$<CONFIG:Debug>>:/O1 /Gy /Gw>)
    target_link_options(brennic PRIVATE $<$<NOT:$<CONFIG:Debug>>:/OPT:REF /OPT:ICF>)
  else()
    target_compile_options(brennic_core PRIVATE -Os -ffunction-sections -fdata-sections)
    target_compile_options(brennic PRIVATE -Os -ffunction-sections -fdata-sections)
    target_link_options(brennic PRIVATE -Wl,--gc-sections -s)
    # Except the run window's output path, which a flood of output runs through byte by byte: optimised for
    # speed (a few KiB more).
    set_source_files_properties(${PROJECT_SOURCE_DIR}/src/run/console_lines.cpp
      ${PROJECT_SOURCE_DIR}/src/run/output_decoder.cpp ${PROJECT_SOURCE_DIR}/src/run/run_model.cpp
      TARGET_DIRECTORY brennic_core PROPERTIES COMPILE_OPTIONS -O2)
  endif()
endif()
