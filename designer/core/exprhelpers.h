#pragma once
// The rules of the expression builder that hold without any window: how a
// picked name goes into an expression, how many argument boxes a function's
// syntax line asks for and how their texts make one call, the system
// variables, and how a function's description splits into its syntax and
// its explanation.
#include <QString>
#include <QStringList>

namespace designer
{

// A name made only of letters A to Z (either case), digits, "." and "_" (or
// an empty one) goes in as it is; anything else in brackets.
QString wrapExpressionName(const QString &name);

// Argument boxes shown for a syntax line: the first always, one more for
// each comma, three at most.
int argumentBoxCount(const QString &syntaxLine);

// name(box1, box2, box3), the second and third only when not empty.
QString assembleFunctionCall(const QString &name, const QString &box1, const QString &box2,
                             const QString &box3);

// The system variables as the variables picker lists them (display texts).
QStringList systemVariableTexts();
// The name a row of that list stands for; a row outside it (no selection)
// gives the page number.
QString systemVariableName(int row);
constexpr int kSystemVariableCount = 8;

// A function description: syntax before the first "/", explanation after it
// (at most 1000 characters). Without "/" it is all syntax.
struct FunctionDescriptionParts {
    QString syntax;
    QString explanation;
};
FunctionDescriptionParts splitFunctionDescription(const QString &description);

// A field of a data set as expressions name it: DataSet."Field".
QString dataFieldReference(const QString &dataSet, const QString &field);

// The entries the pickers reopen on, for the whole program run.
struct PickerMemory {
    QString fieldsEntry;      // data set or category of the fields picker
    QString variableCategory; // category of the variables picker
};
PickerMemory &pickerMemory();

} // namespace designer
