# The test kit: TestApp, ScriptedPrompter, FakeLauncher, FakeFiles, FakePrinter, FakeProgress,
# PdfText, LabelScan, AbsentServer, ChildCase, Unprivileged, XServer. Included by tests/ and, for the desk
# benchmark, by bench/ when the tests are not built.
add_library(lendora_testkit STATIC
  ${CMAKE_CURRENT_LIST_DIR}/TestApp.cpp ${CMAKE_CURRENT_LIST_DIR}/TestApp.h
  ${CMAKE_CURRENT_LIST_DIR}/ScriptedPrompter.cpp ${CMAKE_CURRENT_LIST_DIR}/ScriptedPrompter.h
  ${CMAKE_CURRENT_LIST_DIR}/FakeLauncher.h
  ${CMAKE_CURRENT_LIST_DIR}/FakeFiles.cpp ${CMAKE_CURRENT_LIST_DIR}/FakeFiles.h
  ${CMAKE_CURRENT_LIST_DIR}/FakePrinter.cpp ${CMAKE_CURRENT_LIST_DIR}/FakePrinter.h
  ${CMAKE_CURRENT_LIST_DIR}/FakeProgress.cpp ${CMAKE_CURRENT_LIST_DIR}/FakeProgress.h
  ${CMAKE_CURRENT_LIST_DIR}/LabelScan.cpp ${CMAKE_CURRENT_LIST_DIR}/LabelScan.h
  ${CMAKE_CURRENT_LIST_DIR}/PdfText.cpp ${CMAKE_CURRENT_LIST_DIR}/PdfText.h
  ${CMAKE_CURRENT_LIST_DIR}/AbsentServer.h
  ${CMAKE_CURRENT_LIST_DIR}/ChildCase.cpp ${CMAKE_CURRENT_LIST_DIR}/ChildCase.h
  ${CMAKE_CURRENT_LIST_DIR}/Unprivileged.cpp ${CMAKE_CURRENT_LIST_DIR}/Unprivileged.h
  ${CMAKE_CURRENT_LIST_DIR}/XServer.cpp ${CMAKE_CURRENT_LIST_DIR}/XServer.h)
target_include_directories(lendora_testkit PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(lendora_testkit PUBLIC lendora_core Qt6::Test)
target_compile_definitions(lendora_testkit PRIVATE
  LENDORA_SHIPPED_DIR="${PROJECT_SOURCE_DIR}/resources")
lendora_warnings(lendora_testkit)
