#include "app/book_question.h"

TextId BookQuestion::caption(Choice choice)
{
    switch (choice) {
    case Choice::RestoreBackup:
        return TextId::ChoiceRestoreBackup;
    case Choice::NewBook:
        return TextId::ChoiceNewBook;
    case Choice::SealAgain:
        return TextId::ChoiceSealAgain;
    case Choice::StopEncrypting:
        return TextId::ChoiceStopEncrypting;
    case Choice::LookAgain:
        return TextId::ChoiceLookAgain;
    case Choice::ChooseFolder:
        return TextId::ChoiceChooseFolder;
    case Choice::PlainNewBook:
        return TextId::ChoicePlainNewBook;
    case Choice::Quit:
        break;
    }
    return TextId::ChoiceQuit;
}
