# Tests of the Windows program under Wine: on a desktop of the tests' own (an
# X server and a Wine virtual desktop, started by Wine.Start and stopped by
# Wine.Stop), and with key files crossing between the Linux and the Windows
# build.

add_executable(interchange testing/interchange_main.cpp)
target_link_libraries(interchange PRIVATE bcrypt tarnwick_warnings)

# Finds windows, reads and writes console input and screens.
add_executable(desktop_helper testing/desktop_helper_main.cpp)
target_link_libraries(desktop_helper PRIVATE tarnwick_warnings)

# A bcrypt.dll that passes the program's calls on to Wine's provider, with the
# empty implementation name as a null pointer: for the success path.
add_library(bcrypt_proxy SHARED testing/bcrypt_proxy.cpp testing/bcrypt_proxy.def)
set_target_properties(bcrypt_proxy PROPERTIES
  OUTPUT_NAME bcrypt PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/proxy)
target_link_libraries(bcrypt_proxy PRIVATE tarnwick_warnings)
target_link_options(bcrypt_proxy PRIVATE -static -static-libgcc -static-libstdc++)

set(TARNWICK_LINUX_BUILD "" CACHE PATH "The Linux build, for the tests that check key files")
set(wine_tests ${CMAKE_CURRENT_SOURCE_DIR}/testing/wine)
set(program $<TARGET_FILE:tarnwick>)
set(helper $<TARGET_FILE:desktop_helper>)
set(proxy $<TARGET_FILE:bcrypt_proxy>)

add_test(NAME Wine.Start COMMAND sh ${wine_tests}/start.sh)
set_tests_properties(Wine.Start PROPERTIES FIXTURES_SETUP wine)
add_test(NAME Wine.Stop COMMAND sh ${wine_tests}/stop.sh)
set_tests_properties(Wine.Stop PROPERTIES FIXTURES_CLEANUP wine)

add_test(NAME WineProgram.RedirectedTranscript
         COMMAND sh ${wine_tests}/transcript.sh ${program})
add_test(NAME WineProgram.InTerminal COMMAND sh ${wine_tests}/terminal.sh ${program})
add_test(NAME WineProgram.HelpAndVersion
         COMMAND sh ${wine_tests}/help.sh ${program} ${PROJECT_VERSION})
add_test(NAME WineProgram.SuccessRedirected
         COMMAND sh ${wine_tests}/success.sh ${program} ${proxy} $<TARGET_FILE:interchange>)
add_test(NAME WineProgram.FileWriterOnRealFiles
         COMMAND sh ${wine_tests}/writer.sh ${program} ${proxy})

# On the desktop, one at a time: they look for windows by title.
set(desktop_tests
  Window window
  KeyRules keys
  CtrlCDuringTheWait ctrl_c
  InputDuringGeneration generation
  SuccessInAConsoleWindow console_success)
while(desktop_tests)
  list(POP_FRONT desktop_tests name script)
  add_test(NAME WineDesktop.${name}
           COMMAND sh ${wine_tests}/${script}.sh ${helper} ${program} ${proxy})
  set_tests_properties(WineDesktop.${name} PROPERTIES RESOURCE_LOCK desktop)
endwhile()

# Key files between the builds; skipped, saying why, without the Linux build.
add_test(NAME Interchange.LinuxFilesImportOnWindows
         COMMAND sh ${wine_tests}/interchange.sh linux-to-windows $<TARGET_FILE:interchange>
                 "${TARNWICK_LINUX_BUILD}")
add_test(NAME Interchange.WindowsBlobsCheckOnLinux
         COMMAND sh ${wine_tests}/interchange.sh windows-to-linux $<TARGET_FILE:interchange>
                 "${TARNWICK_LINUX_BUILD}")
add_test(NAME Interchange.WindowsProgramFilesCheckOnLinux
         COMMAND sh ${wine_tests}/files_on_linux.sh ${program} ${proxy} "${TARNWICK_LINUX_BUILD}")
set_tests_properties(Interchange.LinuxFilesImportOnWindows Interchange.WindowsBlobsCheckOnLinux
                     Interchange.WindowsProgramFilesCheckOnLinux PROPERTIES SKIP_RETURN_CODE 77)

get_property(wine_test_names DIRECTORY PROPERTY TESTS)
list(REMOVE_ITEM wine_test_names Wine.Start Wine.Stop)
set_tests_properties(${wine_test_names} PROPERTIES FIXTURES_REQUIRED wine)
