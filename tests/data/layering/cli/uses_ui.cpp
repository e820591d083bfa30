#  include <ui/editor.h>
