// How each kind of edit moves a paragraph position.
#include "core/editor/ParaPos.h"

TShiftResult TPosShift::Apply(TParaPos &Pos) const
{
    if (Pos.Para <= 0)
        return TShiftResult::Unchanged; // not set
    switch (Kind) {
    case CharsInserted:
        if (Pos.Para == Para && Pos.Offset >= Offset) {
            Pos.Offset += Count;
            return TShiftResult::Moved;
        }
        break;
    case CharsDeleted:
        if (Pos.Para == Para && Pos.Offset > Offset) {
            if (Pos.Offset >= Offset + Count) {
                Pos.Offset -= Count;
                return TShiftResult::Moved;
            }
            Pos.Offset = Offset;
            return TShiftResult::Removed;
        }
        break;
    case ParasInserted:
        if (Pos.Para >= Para) {
            Pos.Para += Count;
            return TShiftResult::Moved;
        }
        break;
    case ParasDeleted:
        if (Pos.Para >= Para + Count) {
            Pos.Para -= Count;
            return TShiftResult::Moved;
        }
        if (Pos.Para >= Para) {
            Pos = {Para, 1};
            return TShiftResult::Removed;
        }
        break;
    case ParaSplit:
        if (Pos.Para > Para) {
            ++Pos.Para;
            return TShiftResult::Moved;
        }
        if (Pos.Para == Para && Pos.Offset >= Offset) {
            Pos = {Para + 1, Pos.Offset - Offset + 1 + Count};
            return TShiftResult::Moved;
        }
        break;
    case ParasJoined:
        if (Pos.Para == Para + 1) {
            Pos = {Para, Pos.Offset + Offset - 1};
            return TShiftResult::Moved;
        }
        if (Pos.Para > Para + 1) {
            --Pos.Para;
            return TShiftResult::Moved;
        }
        break;
    }
    return TShiftResult::Unchanged;
}
