# Fails, naming the file and the line, when a platform-neutral file of the
# windows includes Qt: a Qt header, a *Qt.h header of ours, one of our Qt
# headers under src/widgets or src/res, or a Linux-only window. The neutral
# files are those of src/app and src/ui/{main,wireless,lcd,light,monitor,profile} whose names
# do not end in Qt or Win32, the headers of src/widgets they may include
# (except the two that choose the platform's dialog and image button), and the
# tables of src/res.
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
foreach(dir main wireless lcd light monitor profile)
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
if(failures)
  message(FATAL_ERROR "Qt in files that must build without it:${failures}")
endif()
