# The Windows build: one self-contained tidereach.scr from the same source.
# The layers above the platform are the same sources as on Linux; the
# platform is the system itself, with platform/win32 for what it lacks and
# the toolkit-free parts of our own layer. Resources are Windows resources.
enable_language(RC)

# GetProcAddress answers a FARPROC, which every caller casts to the entry's
# real type.
add_compile_options(-Wall -Wextra -Wno-cast-function-type)
add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 TIDEREACH_VERSION="${PROJECT_VERSION}")

function(sources_of out)
  set(found)
  foreach(dir IN LISTS ARGN)
    file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND found ${dir_sources})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# A delay-import library for one of the system's DLLs, made from its import
# library: the DLL is loaded on the first call into it instead of at start.
# At start Windows looks for the DLLs it does not map itself (the KnownDLLs)
# in the program's folder first, and so do the DLLs loaded then for what
# they load (the window system's for its theme); the program first limits
# every search to System32 and only then calls into these
# (shell/WindowsProgram.cpp). Only the kernel, the C runtime, advapi32 and
# gdi32, which load no others from outside System32, are imported at start
# (gdi32 in the import table, where a test's display double finds the
# program's calls of the screen's ramp).
function(delay_import_library out dll)
  get_filename_component(stem ${dll} NAME_WE)
  string(TOLOWER ${stem} stem)
  find_library(${stem}_import_library NAMES lib${stem}.a REQUIRED)
  execute_process(COMMAND ${CMAKE_NM} ${${stem}_import_library} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL " I __imp_[^\n]+" imports "${symbols}")
  list(TRANSFORM imports REPLACE " I __imp_" "")
  list(SORT imports)
  list(JOIN imports "\n" exports)
  set(folder ${CMAKE_BINARY_DIR}/delay-import)
  file(WRITE ${folder}/${stem}.def "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
  execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${folder}/${stem}.def --dllname ${dll}
                  --output-delaylib ${folder}/lib${stem}_delay.a COMMAND_ERROR_IS_FATAL ANY)
  set(${out} ${folder}/lib${stem}_delay.a PARENT_SCOPE)
endfunction()
set(delay_imports)
foreach(dll DDRAW.dll WINMM.dll COMCTL32.dll USER32.dll COMDLG32.dll OLE32.dll SHELL32.dll)
  delay_import_library(library ${dll})
  list(APPEND delay_imports ${library})
endforeach()

# platform: the system's own libraries, platform/win32 for what they lack,
# the form framework's parts that need no system (platform/forms), and the
# helpers at platform/'s top written over the system's calls or none.
sources_of(platform_sources platform platform/win32 platform/forms)
add_library(tidereach_platform STATIC ${platform_sources})
target_include_directories(tidereach_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tidereach_platform PUBLIC
  ${delay_imports} delayimp advapi32 oleaut32 windowscodecs dxguid uuid)

# The layers, each linking only those below it.
sources_of(display_sources display)
add_library(tidereach_display STATIC ${display_sources})
target_link_libraries(tidereach_display PUBLIC tidereach_platform)

sources_of(solar_sources solar)
add_library(tidereach_solar STATIC ${solar_sources})
target_link_libraries(tidereach_solar PUBLIC tidereach_platform)

sources_of(settings_sources settings)
add_library(tidereach_settings STATIC ${settings_sources})
target_link_libraries(tidereach_settings PUBLIC tidereach_solar tidereach_platform)

sources_of(scene_sources scene)
add_library(tidereach_scene STATIC ${scene_sources})
target_link_libraries(tidereach_scene PUBLIC tidereach_display tidereach_settings tidereach_solar)

add_library(tidereach_shell STATIC shell/WindowsProgram.cpp shell/ModeDispatch.cpp shell/PasswordChange.cpp)
target_link_libraries(tidereach_shell PUBLIC tidereach_scene tidereach_settings)

# resources/ as Windows resources: bitmaps as BITMAP, the sound as WAVE,
# pictures and the city table as RCDATA, the icon and the version.
set(resource_lines "")
file(GLOB resource_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
list(SORT resource_files)
foreach(file IN LISTS resource_files)
  get_filename_component(stem ${file} NAME_WE)
  get_filename_component(extension ${file} LAST_EXT)
  if(extension STREQUAL ".bmp")
    string(APPEND resource_lines "${stem} BITMAP \"${file}\"\n")
  elseif(extension STREQUAL ".wav")
    string(APPEND resource_lines "${stem} WAVE \"${file}\"\n")
  elseif(extension STREQUAL ".jpg" OR extension STREQUAL ".bin")
    string(APPEND resource_lines "${stem} RCDATA \"${file}\"\n")
  endif()
endforeach()
set(TIDEREACH_RESOURCE_LINES "${resource_lines}")
string(REPLACE "." "," TIDEREACH_VERSION_COMMAS "${PROJECT_VERSION}.0")
configure_file(${CMAKE_SOURCE_DIR}/cmake/tidereach.rc.in ${CMAKE_BINARY_DIR}/tidereach.rc @ONLY)
set(TIDEREACH_RC ${CMAKE_BINARY_DIR}/tidereach.rc)
set_source_files_properties(${TIDEREACH_RC} PROPERTIES OBJECT_DEPENDS
  "${resource_files};${CMAKE_SOURCE_DIR}/cmake/tidereach.manifest")

add_executable(tidereach WIN32 shell/main.cpp ${TIDEREACH_RC})
set_target_properties(tidereach PROPERTIES SUFFIX ".scr")
target_link_libraries(tidereach PRIVATE tidereach_shell)
# The documentation the dialog's link opens goes beside the program, as a
# text file every Windows can show.
add_custom_command(TARGET tidereach POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/README.md $<TARGET_FILE_DIR:tidereach>/tidereach.txt)

option(TIDEREACH_BUILD_TESTS "Build the test suites (they run under Wine)" ON)
if(TIDEREACH_BUILD_TESTS)
  enable_testing()
  add_subdirectory(tests/win32)
endif()
