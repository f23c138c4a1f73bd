# Native build: the pure logic and its tests, with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set(GYRO_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(gyro_pure STATIC ${GYRO_PURE_SOURCES})
target_include_directories(gyro_pure PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(gyro_pure PUBLIC ${GYRO_SANITIZE})
target_link_options(gyro_pure PUBLIC ${GYRO_SANITIZE})
gyro_strict(gyro_pure)

file(GLOB GYRO_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${GYRO_NATIVE_TESTS})
target_link_libraries(native_tests PRIVATE gyro_pure GTest::gtest_main)
gyro_strict(native_tests)
gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT 60)
