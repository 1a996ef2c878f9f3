#include "IntroductionMessages.h"

IntroductionMessage introductionMessage(char which) {
    const QString intro = QString::fromUtf8("Intro to Tolvik™");
    switch (which) {
    case 'A':
        return {intro,
                QString::fromUtf8(
                    "Tolvik™ was created by the 'Vortane' Compiler.  The 'Find' statement is key.  It allows "
                    "one to vary parameters in their math model.\n\nIn Calculus-level programming the "
                    "user/programmer states their equations and an objective function and leaves the "
                    "numerical work to the compiler. This is accomplished thru Automatic Differentiation "
                    "(AD) and Operator Overload techniques.")};
    case 'B':
        return {intro,
                QString::fromUtf8(
                    "Tolvik™ program determines the best parameter values for a Robot to move from point A "
                    "to point B.  This type of problem may be called an Inverse Problem (IP). This algebraic "
                    "problem states a math model with some unknowns to be found.\n\nIn Calculus level "
                    "programming the user/programmer states their equations and a objective function and "
                    "leaves the numerical work to the compiler.  This is accomplished thru Automatic "
                    "Differentiation (AD) and Operator Overload techniques.")};
    case 'C':
        return {QString::fromUtf8("Intro to Tolvik™ Demo procedure"),
                QString::fromUtf8(
                    "Try a Demo for starters:\n\n1. Click on 'Demo' in Tolvik™ menu line;\n2. Click 'Run "
                    "Demo';\n3. Select a demo file; and,\n4. Click 'Run Demo' button.\n5. View your results "
                    "(in NotePad) and XYplots.\n\nThese steps are equivalent to running a Demo.  Now create "
                    "your own file with answers to Tolvik™ questions and run it.  It's that simple.  ")};
    default:
        return {QString::fromUtf8("Intro to Tolvik™ Submit procedure"),
                QString::fromUtf8(
                    "Next, try 'File | Open' from menu:\n\n1. Click on 'File' and 'Open';\n2. Select an "
                    "example (ex*.tolv) file;\n3. Click on 'Run' tab; and,\n4. Click on 'Submit Run' "
                    "button; and,\n5. View your results (in ?NotePad?) and Plotvanes.\n\nThese steps are "
                    "equivalent to running a Demo.  Now create your own file with answers to Tolvik™ "
                    "questions and run it.  It's that simple.")};
    }
}
