# Qt Widgets' headers are most of what a window's source file compiles.
# They are compiled once for all the window libraries, and once more,
# unoptimised, for the tests that drive the windows (tests/CMakeLists.txt).
# A file reuses a precompiled header only when its macros add to those the
# header was made with (GCC and clang refuse a differing one): so these hold
# Qt's own headers and no Qt Test header, which reads each test's folder
# from a macro.
option(QL540_WIDGETS_PCH "Precompile Qt Widgets' headers for the windows and their tests" ON)

set(QL540_WIDGETS_PCH_HEADERS
  <QAction> <QApplication> <QCheckBox> <QComboBox> <QCoreApplication> <QDir> <QEvent> <QFileInfo>
  <QGridLayout> <QHBoxLayout> <QHeaderView> <QKeyEvent> <QLabel> <QLineEdit> <QList> <QMdiArea>
  <QMdiSubWindow> <QMenu> <QObject> <QPointer> <QPushButton> <QScrollBar> <QString> <QTableWidget>
  <QTimer> <QVBoxLayout> <QWidget> <array> <functional> <memory> <optional>)

# A target that only compiles the headers, for others to reuse; none when
# the option is off.
function(ql540_add_pch_target name)
  cmake_parse_arguments(P "" "" "LIBS;HEADERS" ${ARGN})
  add_library(${name} STATIC ${PROJECT_SOURCE_DIR}/cmake/Empty.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  target_precompile_headers(${name} PRIVATE ${P_HEADERS})
endfunction()

function(ql540_add_widgets_pch name)
  if(QL540_WIDGETS_PCH)
    ql540_add_pch_target(${name} LIBS Qt6::Widgets HEADERS ${QL540_WIDGETS_PCH_HEADERS})
  endif()
endfunction()

# The targets compile with the headers of pch, when it exists.
function(ql540_use_pch pch)
  if(TARGET ${pch})
    foreach(target IN LISTS ARGN)
      target_precompile_headers(${target} REUSE_FROM ${pch})
    endforeach()
  endif()
endfunction()
