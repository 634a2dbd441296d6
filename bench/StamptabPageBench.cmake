# The Stamplets page's initialisation, timed inside a real property sheet
# under Wine (Windows only).
if(WIN32)
  stamplets_add_benchmark(stamptab_page_bench StamptabPageBench.cpp)
  target_link_libraries(stamptab_page_bench PRIVATE stamplets_platform stamplets_test_support)
  target_include_directories(stamptab_page_bench PRIVATE ${CMAKE_SOURCE_DIR}/src/stamptab)
  add_dependencies(stamptab_page_bench Stamptab)
endif()
