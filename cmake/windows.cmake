# Windows build (MinGW-w64): the program, its test programs, and the helper
# programs that tests start as other processes.
enable_language(RC)

# One executable with no runtime DLL beyond the system's.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX STRICT)
set(GYRO_WIN_LIBS user32 gdi32 shell32 comctl32)

# Everything of the program but its entry point and its one application
# object, so that tests can link it.
file(GLOB GYRO_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/afx/*.cpp
  ${CMAKE_SOURCE_DIR}/app/*.cpp
  ${CMAKE_SOURCE_DIR}/desktop/*.cpp
  ${CMAKE_SOURCE_DIR}/engine/*.cpp
  ${CMAKE_SOURCE_DIR}/tray/*.cpp
  ${CMAKE_SOURCE_DIR}/ui/*.cpp)
list(FILTER GYRO_CORE_SOURCES EXCLUDE REGEX "(afxwinmain|AppInstance)\\.cpp$")
add_library(gyro_core STATIC ${GYRO_CORE_SOURCES})
target_include_directories(gyro_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(gyro_core PUBLIC ${GYRO_WIN_LIBS})
gyro_strict(gyro_core)

# The resources, as an object library: a resource object in a static library
# would not be linked, since nothing refers to it by name.
add_library(gyro_res OBJECT ${CMAKE_SOURCE_DIR}/res/Gyrovanter.rc)
# The dependency scan follows #include only: rebuild when an icon or the
# manifest changes.
file(GLOB GYRO_ICONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/icons/*.ico)
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/Gyrovanter.rc PROPERTIES
  OBJECT_DEPENDS "${GYRO_ICONS};${CMAKE_SOURCE_DIR}/res/Gyrovanter.manifest")
target_include_directories(gyro_res PRIVATE ${CMAKE_SOURCE_DIR})

# The program: the application object, the entry point and the resources.
add_executable(Gyrovanter WIN32
  ${CMAKE_SOURCE_DIR}/app/AppInstance.cpp
  ${CMAKE_SOURCE_DIR}/afx/afxwinmain.cpp
  $<TARGET_OBJECTS:gyro_res>)
target_link_libraries(Gyrovanter PRIVATE gyro_core)
target_link_options(Gyrovanter PRIVATE -s)
gyro_strict(Gyrovanter)

if(BUILD_TESTING)
  # Support code for tests: the recording fake of the window-system seam and
  # helpers for real windows.
  file(GLOB GYRO_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
  add_library(gyro_test_support STATIC ${GYRO_TEST_SUPPORT})
  target_link_libraries(gyro_test_support PUBLIC gyro_core GTest::gtest)
  gyro_strict(gyro_test_support)

  # Programs that tests start as a second process.
  file(GLOB GYRO_TEST_HELPERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/helpers/*.cpp)
  foreach(source ${GYRO_TEST_HELPERS})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ${GYRO_WIN_LIBS})
    gyro_strict(${name})
    list(APPEND GYRO_HELPER_TARGETS ${name})
  endforeach()

  # The driver of the headless demo (scripts/run without a display): sample
  # windows, and the program driven through its dialog like the tests do.
  add_executable(gyrovanter_demo ${CMAKE_SOURCE_DIR}/tools/demo/gyrovanter_demo.cpp)
  target_link_libraries(gyrovanter_demo PRIVATE gyro_test_support)
  gyro_strict(gyrovanter_demo)

  # One test program per file; each test case runs in its own process.
  file(GLOB GYRO_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
  foreach(source ${GYRO_WIN_TESTS})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source} $<TARGET_OBJECTS:gyro_res>)
    target_link_libraries(${name} PRIVATE gyro_test_support GTest::gtest_main psapi version)
    if(GYRO_HELPER_TARGETS)
      add_dependencies(${name} ${GYRO_HELPER_TARGETS})
    endif()
    if(TARGET Gyrovanter)
      add_dependencies(${name} Gyrovanter)
    endif()
    gyro_strict(${name})
    gtest_discover_tests(${name}
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT 120)
  endforeach()
endif()

# The benchmark's programs: built with the rest, run only by scripts/bench.
option(GYRO_BENCH "Build the benchmark's programs" ON)
if(GYRO_BENCH)
  add_subdirectory(${CMAKE_SOURCE_DIR}/bench ${CMAKE_BINARY_DIR}/bench)
endif()
