include(GoogleTest)
find_package(GTest REQUIRED)

# konfidor_add_test(<name> [GUI] SOURCES <files...> LIBS <libraries...>)
# One executable per tested area. GUI tests get a QApplication on the offscreen
# platform, the others a QCoreApplication. Every test runs with a fixed C locale
# and UTC so that no result depends on the machine it runs on.
function(konfidor_add_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE konfidor_test_main_gui)
    else()
        target_link_libraries(${name} PRIVATE konfidor_test_main_core)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock konfidor_warnings)
    target_include_directories(${name} PRIVATE ${KONFIDOR_SOURCE_ROOT} ${KONFIDOR_SOURCE_ROOT}/tests)
    set(env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8 TZ=UTC
            KONFIDOR_TEST_DATA=${KONFIDOR_SOURCE_ROOT}/tests/data)
    # gtest_discover_tests hands list-valued test properties on as separate
    # words, so only the first variable would arrive; the environment goes in
    # front of the command instead, for discovery and every test alike.
    set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${env})
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        DISCOVERY_MODE PRE_TEST
        PROPERTIES TIMEOUT 300)
endfunction()
