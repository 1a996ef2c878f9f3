#include "TipsText.h"

QString tipsTextHtml() {
    return QStringLiteral(
        R"(<div style="font-family: Arial">
<p align="center"><b><span style="color:red">Warning!</span></b><br>
Operating systems keep changing, and the maker's programs may stop working on a new one.
If a run does not start, the batch files <span style="color:blue">Demo.bat</span> or
<span style="color:blue">Demo2.bat</span> in the program's base directory submit a problem to DOSBox directly.</p>
<p><b>General tips</b></p>
<ul>
<li>Saved output files are in the <span style="color:blue">'user\output'</span> directory.</li>
<li>Input files are best kept in the <span style="color:blue">'user'</span> directory.</li>
<li>Output files are named after the input file with the type <span style="color:blue">".out"</span> and others;
for example the input file "Shotgun.22.tolv" gives "Shotgun.22.out".</li>
</ul>
<p><b>Solver Control Parameter Definitions</b></p>
<ul>
<li><span style="color:blue">Remax</span>: the maximum number of allowed iterations; 20 by default.</li>
<li><span style="color:blue">Detail</span>: 0 for no report, or n for a report every n-th iteration.</li>
<li><span style="color:blue">Delta</span>: the convergence tolerance for the values sought; 10<sup>-7</sup> by default.</li>
<li><span style="color:blue">Predamp</span>: the damping factor for the first iteration (0 &lt; Predamp &lt;= 1); 0.2 by default.</li>
<li><span style="color:blue">Damp</span>: the criterion for imposing damping; 0.2 by default.</li>
</ul>
<p><b>Improve Solution</b></p>
<ul>
<li>Start the search in a different region.</li>
<li>Make a final run starting from the previous results, rounded to 3 or 4 significant digits.</li>
</ul>
<p><b>Reduce Run-time ... Run in DOS</b></p>
<ul>
<li>Run from a command prompt; try <span style="color:blue">Demo2</span> first.</li>
<li>Then loop: edit the input file in the 'user' directory with NotePad, run it with a
<span style="color:blue">Run-Me</span> command naming the file and the word User, and repeat.</li>
</ul>
</div>)");
}
