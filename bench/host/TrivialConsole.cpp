// Starts and ends: the cost of one console process under Wine, nothing more.
int main()
{
    return 0;
}
