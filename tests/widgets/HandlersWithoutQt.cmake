# Fails, naming the file and the line, when a platform-neutral file of the
# windows includes Qt: a Qt header, a *Qt.h header of ours, one of our Qt
# headers under src/widgets or src/res, or a Linux-only window. The neutral
# files are those of src/app and src/ui/{main,wireless,lcd,light,monitor,profile,scan} whose names
# do not end in Qt or Win32, the headers of src/widgets they may include
# (except the two that choose the platform's dialog and image button), and the
# tables of src/res. The files at the root of src/widgets, shared by both
# backends, include neither Qt nor <windows.h>.
#   cmake -DSOURCE_DIR=<repository>/src -P HandlersWithoutQt.cmake
set(neutral_widgets_list CanvasPainter.h ColorRef.h PixelRect.h DialogBase.h DialogVerbs.h DlgItemInt.h FileDialogCall.h ImageButton.h ImageButtonCodes.h
    InputHold.h MessageBoxCall.h WaitCursor.h)
list(JOIN neutral_widgets_list "|" neutral_widgets)
string(REPLACE "." "\\." neutral_widgets "${neutral_widgets}")

file(GLOB files ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/res/*.cpp ${SOURCE_DIR}/res/*.h)
list(FILTER files EXCLUDE REGEX "/res/Resources\\.h$")
foreach(header IN ITEMS ${neutral_widgets_list})
  if(NOT header MATCHES "^(DialogBase|ImageButton)\\.h$")
    list(APPEND files ${SOURCE_DIR}/widgets/${header})
  endif()
endforeach()
foreach(dir main wireless lcd light monitor profile scan)
  file(GLOB dir_files ${SOURCE_DIR}/ui/${dir}/*.cpp ${SOURCE_DIR}/ui/${dir}/*.h)
  list(APPEND files ${dir_files})
endforeach()
list(FILTER files EXCLUDE REGEX "(Qt|Win32)\\.(cpp|h)$")

set(failures "")
foreach(file IN LISTS files)
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    # Inside src/widgets a header of its own is named without the directory.
    if(file MATCHES "/widgets/[^/]+$")
      string(REGEX REPLACE "\"([^/\"]+)\"" "\"widgets/\\1\"" line "${line}")
    endif()
    if(line MATCHES "<Q" OR line MATCHES "Qt\\.h\"" OR line MATCHES "[\"/]Resources\\.h\""
       OR line MATCHES "\"ui/log/"
       OR (line MATCHES "\"widgets/" AND NOT line MATCHES "\"widgets/(${neutral_widgets})\""))
      file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
      string(APPEND failures "\n  src/${name}: ${line}")
    endif()
  endforeach()
endforeach()

# The root of src/widgets holds what both backends share: no Qt, no
# <windows.h>, no file of either backend (qt/, win32/). Only the two headers
# that choose the platform's dialog and image button name a backend.
file(GLOB widgets_root ${SOURCE_DIR}/widgets/*.cpp ${SOURCE_DIR}/widgets/*.h)
list(FILTER widgets_root EXCLUDE REGEX "/(DialogBase|ImageButton)\\.h$")
list(REMOVE_ITEM widgets_root ${files})
foreach(file IN LISTS widgets_root)
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "<Q" OR line MATCHES "<windows\\.h>" OR line MATCHES "Qt\\.h\"" OR line MATCHES "Win32\\.h\""
       OR line MATCHES "[\"/](qt|win32)/")
      file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
      string(APPEND failures "\n  src/${name}: ${line}")
    endif()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "Qt or Windows in files that must build without them:${failures}")
endif()
