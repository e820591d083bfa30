#pragma once

class QTextBlock;
class QTextDocument;

// A paragraph far longer than any entry is held as pieces of bounded length,
// each a block of its own. Qt lays out a paragraph in one pass, so one long
// paragraph would keep the window from showing and from answering anything
// until all of it is laid out; pieces are laid out a few at a time. Every
// conversion of a document to RTF or plain text joins the pieces again, so
// the stored page never shows the seams.
//
// A piece carries its paragraph's number and its own number in that
// paragraph. A block continues the one before it when both belong to the
// same paragraph and its number is the greater: a line break typed inside a
// piece gives two blocks with the same number, which stay apart.
class ParagraphPieces
{
public:
    static constexpr int PieceLength = 4096;

    // Cuts every paragraph longer than twice the piece length.
    static void split(QTextDocument& doc);
    static bool continuesPrevious(const QTextBlock& block);
    // Whether the document was ever cut by split().
    static bool hasPieces(const QTextDocument& doc);
};
