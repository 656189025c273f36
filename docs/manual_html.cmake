# Writes the manual as one HTML page (cmake -P): cmark converts the Markdown, and the page
# around it only names its title and character set. -DCMARK= -DMANUAL= -DOUTPUT=
execute_process(COMMAND ${CMARK} --to html ${MANUAL} OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark could not convert ${MANUAL}")
endif()
file(WRITE ${OUTPUT} "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
  "<title>Quasarine manual</title>\n</head>\n<body>\n${body}</body>\n</html>\n")
