# Tests of the Windows program under Wine, and of key files crossing between
# the Linux and the Windows build.

add_executable(interchange testing/interchange_win32.cpp)
target_link_libraries(interchange PRIVATE bcrypt tarnwick_warnings)

set(TARNWICK_LINUX_BUILD "" CACHE PATH "The Linux build, for the interchange tests")
set(wine_tests ${CMAKE_CURRENT_SOURCE_DIR}/testing/wine)

add_test(NAME Wine.Start COMMAND sh ${wine_tests}/start.sh)
set_tests_properties(Wine.Start PROPERTIES FIXTURES_SETUP wine)

add_test(NAME WineProgram.RedirectedTranscript
         COMMAND sh ${wine_tests}/transcript.sh $<TARGET_FILE:tarnwick>)
add_test(NAME WineProgram.InTerminal
         COMMAND sh ${wine_tests}/terminal.sh $<TARGET_FILE:tarnwick>)
if(TARNWICK_LINUX_BUILD)
  add_test(NAME Interchange.LinuxFilesImportOnWindows
           COMMAND sh ${wine_tests}/interchange.sh linux-to-windows
                   ${TARNWICK_LINUX_BUILD} $<TARGET_FILE:interchange>)
  add_test(NAME Interchange.WindowsBlobsCheckOnLinux
           COMMAND sh ${wine_tests}/interchange.sh windows-to-linux
                   ${TARNWICK_LINUX_BUILD} $<TARGET_FILE:interchange>)
endif()

get_property(wine_test_names DIRECTORY PROPERTY TESTS)
list(REMOVE_ITEM wine_test_names Wine.Start)
set_tests_properties(${wine_test_names} PROPERTIES FIXTURES_REQUIRED wine)
